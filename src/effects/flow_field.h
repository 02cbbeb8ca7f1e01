// The animated flow field that shakes the smoke, the dust, the swarms, the
// roots, the tree and the sparks: four displacement fields that morph into
// one another.
#pragma once
#include "core/vec3.h"

// The animated displacement field k (0-3) at p, morphing from field k - 1 while
// flowBlend is below 1. Its two globals move on only where scenes move them.
Vec3 flowField(const Vec3& p, int k);
extern float flowTime;
extern float flowBlend;
