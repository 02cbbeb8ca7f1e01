// Camera-facing sprites: the camera's axes from the model-view matrix, and
// the textured squares turned towards it.
#pragma once
#include "core/vec3.h"

// The camera's axes in world space, from the current modelview matrix.
void getCameraBasis(Vec3& right, Vec3& up, Vec3& forward);
// One textured camera-facing square of half edge half around centre.
void drawBillboard(const Vec3& centre, const Vec3& right, const Vec3& up, const Vec3& forward, float half);
// The additive glow sprite of the sky; the caller binds the texture and sets the colour.
void drawSunGlow(float half);
