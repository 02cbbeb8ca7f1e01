// Tileable noise for the generated pictures: gradient noise, fBm, ridged fBm
// and Voronoi distances, all periodic so that the pictures wrap seamlessly.
#pragma once
#include <cstdint>

namespace noise {

// Gradient noise in about [-1, 1], periodic with (periodX, periodY) lattice cells.
float gradient(float x, float y, int periodX, int periodY, uint32_t seed);
// Sum of octaves, each twice the frequency and `gain` times the amplitude; in about [-1, 1].
float fbm(float x, float y, int periodX, int periodY, int octaves, float gain, uint32_t seed);
// 1 - |noise| squared per octave: thin bright ridges, in [0, 1].
float ridged(float x, float y, int periodX, int periodY, int octaves, float gain, uint32_t seed);

// Distances to the nearest and second-nearest feature point of a periodic
// cell grid (one jittered point per cell); x, y in cell units.
struct Cells {
    float f1;
    float f2;
    uint32_t id; // the nearest cell's hash, for per-cell colour
};
Cells voronoi(float x, float y, int periodX, int periodY, uint32_t seed);

// A hash of integers, and the same as a float in [0, 1).
uint32_t hash(int x, int y, uint32_t seed);
float hashUnit(int x, int y, uint32_t seed);

float smoothstep(float a, float b, float x);
float mix(float a, float b, float t);

} // namespace noise
