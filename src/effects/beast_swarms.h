// The beast's two swarms: 1824 small glowing cubes each, strung along the
// paths "tracking the beast" (the lair) and "following the beast" (the
// beast), with the cube skin (bitmap 107) and the beat envelope both share.
#pragma once
#include <epoxy/gl.h>

#include <vector>

#include "core/vec3.h"

class BeatEnvelope;
class CameraPath;
class ImageManager;

struct SwarmCube {
    Vec3 base;       // offset from the cube's point on the path; also three small angles
    float jitter;    // stretch of the cube's path parameter, in [0.9, 1]
    Vec3 target;     // where the wave throws the cube
    float waveStart; // the cube's span on the wave
    float waveEnd;
    float size;      // base edge scale, in [0.06, 0.18)
};
constexpr int kSwarmSize = 1824;

// The bitmap-107 skin, the paths "tracking the beast" and "following the
// beast", both swarms, the beat envelope.
void setupBeastSwarms(ImageManager& images);
// The skin, the two paths, then the envelope.
void releaseBeastSwarms();

// Reseeds the program's generator with 5295 and fills the lair swarm (R = 1.2),
// then the beast swarm (R = 1.5).
void buildSwarms();
const std::vector<SwarmCube>& lairSwarm();
const std::vector<SwarmCube>& beastSwarm();
// Adds the control points of the two paths, in order (no GL, no log).
void addTrackingPoints(CameraPath& path);
void addFollowingPoints(CameraPath& path);
const CameraPath& trackingPath();
const CameraPath& followingPath();
BeatEnvelope& beastBeats();
GLuint beastSkin();

// Where a cube of a swarm is drawn this frame, with its wave.
struct PlacedCube {
    Vec3 pos;
    float w;
};
// Draws a swarm through the bloomer with the skin bound: each cube turned by
// its base angles, moved to its place, spun by r, scaled by sizeScale * w + size,
// a textured cube of the corners (+-1, +-1, +-1).
// Leaves lighting, light 0 and texturing off.
void drawSwarm(const std::vector<SwarmCube>& swarm, const std::vector<PlacedCube>& placed, float r, float sizeScale);
// A buffer for a frame's placed cubes, shared by the two swarm scenes.
std::vector<PlacedCube>& placedCubes();
// The normal of cube face k (0-5): the program's cross product of
// (c - a) and (b - a), normalised; the faces along y come out pointing inward.
Vec3 cubeFaceNormal(int face);

// The wave's throw of a cube: two waves run along the swarm's index as q1 and q2 rise.
float swarmWave(float q1, float q2, const SwarmCube& cube);

// Where a swarm scene's camera stands and looks.
struct BeastCamera {
    Vec3 eye, target;
};

// What both swarm scenes draw before their cubes: the view, the fogged grid
// (its lines smoothed when asked), light 0 at the eye with the ambient that
// tells the lair from the beast, the skin bound.
void beginSwarmScene(const BeastCamera& camera, const float light0Ambient[4], bool smoothLines);
