// The animated flow field that shakes the smoke, the dust, the swarms, the
// roots, the tree and the sparks: four displacement fields that morph into
// one another.
#pragma once
#include "core/vec3.h"

// The animated displacement field's clock: time moves it, and blend morphs
// field k - 1 into field k while below 1. The show's frame owns one; the
// scenes' updates step it and their draws read it.
struct FlowField {
    float time = 0.0f;
    float blend = 0.0f;
};

// The displacement of field k (0-3) at p, morphing from field k - 1 while the
// blend is below 1.
Vec3 flowField(const FlowField& flow, const Vec3& p, int k);
