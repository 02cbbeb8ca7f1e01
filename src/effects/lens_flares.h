// Short bursts of lens flare over the mist, lair and cloud windows: chains of
// four camera-facing sprites that flash up and fade with a bump of the ramp.
#pragma once
#include <vector>

#include "core/vec3.h"

enum class FlareChainType { A, B, C };

struct FlareChain {
    FlareChainType type;
    float strength; // b: the bump's value, flat at 1 on top
    Vec3 positions[4];
};

// The chains variant (0-3) draws at ramp t: those whose window holds t.
std::vector<FlareChain> lensFlareChains(float t, int variant);

// Draws them. Leaves blending on with (GL_SRC_COLOR, GL_ONE), fog and
// lighting off and depth writes on, whether or not a chain was drawn.
void drawLensFlares(float t, int variant);
