// The program's seeded random generator, whose sequence decides where every
// generated star, particle and mound lands, and the shapes drawn from it.
#pragma once
#include <cstdint>

#include "core/vec3.h"

// The seeded generator (a Schrage step without the final correction).
namespace rng {
constexpr uint32_t kInitialState = 93186752u;
void seed(uint32_t value);
uint32_t state();
// Advances the state and returns it over 4294967291 as a float in [0, 1].
float next();
// The state that follows x.
uint32_t step(uint32_t x);
} // namespace rng

// A point on the sphere of radius r: two draws, the azimuth first.
Vec3 randomSpherePoint(float r);
// A point in the cube of edge s around the origin: three draws, x first.
Vec3 randomInCube(float s);
// A point in the box of half edges sx, sy, sz: three draws, z first.
Vec3 randomInBox(float sx, float sy, float sz);
