// The mist scene's landscape, grown at start-up from a fixed seed: 108 bumps
// scattered over a square, a 512 x 512 height field summed from a wave term of
// each, compiled into one display list of dark quads on the high ground and a
// glowing line strip over the whole grid, coloured by height.
#pragma once
#include <cstdint>
#include <vector>

#include "core/c_rand.h"
#include "core/vec3.h"

constexpr int kTerrainWidth = 512;  // columns
constexpr int kTerrainHeight = 512; // rows
constexpr int kTerrainBumps = 108;
constexpr uint32_t kTerrainSeed = 52326;

// Builds the grid, the heights and the display list (needs a GL context).
// Consumes one C-library draw and one draw of the program's generator per
// height term, 972 more of the latter for the bumps.
void buildTerrainGrid();
// The compiled list; 0 before the build and after the release.
unsigned int terrainList();
// Deletes the list.
void releaseTerrain();

// The C-library draws that start-up makes before the terrain's step (the mist
// smoke's warm-up).
constexpr uint64_t kCRandDrawsBeforeTerrain = 12286;
// Starts the heights on worker threads (0: one per core but one) from the
// generator states that the terrain's step will find: the unseeded C library
// moved on by the draws above. Leaves the shared generators as they were.
void startTerrainHeights(int threads = 0);
// The heights as the build takes them (GL-free): the head start's, waited
// for, when the C library's generator is where it assumed; else built here
// from the shared generators. Either way both generators end where a build
// here leaves them.
std::vector<float> terrainHeightsAtStep();

// The pieces of the build, GL-free.

// The grid point before raising: 0.1 apart in x and z, at y = -0.475.
Vec3 terrainBasePosition(int r, int c);
// The vertical size of bump k's random cube: 5, or 15, 25, 35 for a few.
float bumpSpreadY(int k);
// Reseeds the program's generator and draws the 108 bump centres.
std::vector<Vec3> makeBumpCentres();
// One bump's contribution at distance d, given the C-library draw and the
// program generator's draw for it.
float terrainHeightTerm(float d, int cRandValue, float g);

// Heights h(r, c) at [r * kTerrainWidth + c], every term evaluated in order
// from the shared generators. The reference the fast build must match.
std::vector<float> terrainHeightsSerial(const std::vector<Vec3>& centres);
// The same heights with the rows split over threads (0: one per core); the
// shared generators end exactly where the serial build leaves them.
std::vector<float> terrainHeights(const std::vector<Vec3>& centres, int threads = 0);

// Whether the quad with corner (r, c) is drawn: some corner of it is above 0.
// raised holds the raised grid, row-major.
bool terrainQuadDrawn(const Vec3* raised, int r, int c);

// One point of the line strip: low ground lies flat at 0.3 in a pale blue,
// higher ground glows orange and grows more opaque with height.
struct StripPoint {
    Vec3 position;
    float colour[4];
};
StripPoint terrainStripPoint(const Vec3& raised);
// The strip leaves out the last row and column; n-th point's grid index.
constexpr int kTerrainStripPoints = (kTerrainHeight - 1) * (kTerrainWidth - 1);
int terrainStripIndex(int n);
