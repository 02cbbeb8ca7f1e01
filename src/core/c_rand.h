// The C library's unseeded rand(), reproduced: glibc's additive feedback
// generator from seed 1. The show's jitter (particles, the terrain's fine
// grain, decoding text) follows this one sequence; owning it keeps frames the
// same whatever a driver or library draws from the C library, and lets the
// terrain split its draws across threads.
#pragma once
#include <cstdint>

#include "core/vec3.h"

// The reproduced generator's whole state; copies advance independently.
struct CRandState {
    uint32_t r[34];
    int i = 0; // the slot the next output is written to
};

// The state of an unseeded process.
CRandState cRandInitialState();
// The next value in [0, 2147483647], as glibc's rand() gives it.
int cRandNext(CRandState& state);
// Moves the state on by count values without returning them.
void cRandSkip(CRandState& state, uint64_t count);
// The same in time that grows with log(count), for skipping millions of draws.
void cRandJump(CRandState& state, uint64_t count);

// The program's one shared sequence.
int cRand();
// The same draw cut to the range 0 to 32767 that the show's random values
// were tuned with (its top 15 bits).
int cRand15();
constexpr int kCRand15Max = 32767;
CRandState& cRandShared();

// The show's random values drawn from that sequence: (rand() mod 32767) / 32767 * max.
float randomUpTo(float max);
// lo + (hi - lo) * randomUpTo(hi): with lo = 0, hi squared times u.
float randomRange(float lo, float hi);
// (cos(angle) r2, 0, sin(angle) r1) for r1, then r2, drawn up to radius.
Vec3 randomDiscPoint(float radius, float angle);
