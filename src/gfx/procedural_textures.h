// The eight textures computed at start-up instead of loaded: soft sprites, a
// ring, a radial mask, clouds, a blue-tinted noise and an interference pattern,
// with the value noise and turbulence they are made from.
#pragma once
#include <epoxy/gl.h>

#include <cstdint>
#include <functional>

class Texture;

// The lattice value of the integer point (i, j), in (-1, 1].
double latticeValue(int32_t i, int32_t j);
// Smooth value noise, cosine-interpolated between lattice values.
double noise2(double x, double y);
// Octaves of noise2 from size down to 1, each weighted by its scale; 0 for size < 1.
double turbulence(double x, double y, double size);

// turbulence(x, y, size) for every integer point of a width x height grid, the
// same values as turbulence() gives, with what repeats along rows and columns
// computed once. Rows are spread over threads: use(y, row) is called once per
// row, from several threads at once, with row[x] for x = 0 .. width - 1.
void turbulenceRows(int width, int height, double size, const std::function<void(int y, const double* row)>& use);
// The same into out, row y at out[y * width].
void turbulenceGrid(int width, int height, double size, double* out);

// The texel formulas, one per texture (flare and blueflare are made together).
// Each fills the whole texture it is given; nothing here touches GL.
void fillClouds(Texture& clouds);
void fillBigflare(Texture& bigflare);
void fillMask(Texture& mask);
void fillNoise(Texture& noise);
void fillSurround(Texture& surround);
void fillCircle(Texture& circle);
void fillFlares(Texture& flare, Texture& blueflare);

// Single texels: x is the column, y the row; t is turbulence(x, y, 256) for
// clouds and turbulence(x, y, 128) for noise; surround takes surroundWave of its
// column and of its row.
uint32_t cloudsTexel(int x, int y, double t);
uint32_t bigflareTexel(int row, int column);
uint32_t maskTexel(int row, int column);
uint32_t noiseTexel(int x, int y, double t);
double surroundWave(int k);
uint32_t surroundTexel(double across, double down);
uint32_t circleTexel(int row, int column, int radius);
uint32_t flareTexel(int row, int column);
uint32_t blueflareTexel(int row, int column);

// The GL names of the eight textures, for the scenes that sample them.
struct ProceduralTextures {
    GLuint circle, flare, bigflare, blueflare, noise, clouds, surround, mask;
};
const ProceduralTextures& proceduralTextures();

// Creates, fills and uploads the eight textures (start-up).
void createProceduralTextures();
// Destroys them (shutdown), each writing its destruction line.
void releaseProceduralTextures();
