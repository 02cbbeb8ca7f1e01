// The ground of the outdoor scenes: a square grid of vertices, white at the
// centre and fading to black at the rim, slightly rough, drawn as textured
// strips whose texture flows slowly towards the viewer.
#pragma once
#include "core/vec3.h"

// One grid point; every grid effect uses the same record.
struct GridVertex {
    Vec3 colour{1.0f, 1.0f, 1.0f};
    Vec3 position;
    Vec3 normal;
    float texcoord[2] = {0.0f, 0.0f};
};

class GroundPlane {
public:
    GroundPlane();
    ~GroundPlane();
    GroundPlane(const GroundPlane&) = delete;
    GroundPlane& operator=(const GroundPlane&) = delete;

    // Builds the grid; heights take one draw each of the shared generator.
    void init(int cols, int rows, float falloff, float size, float baseHeight, float texRepeat, float roughness);
    // Textured strips, row by row; the caller sets texture, blending and depth.
    // seconds: the frame clock's elapsed time, which scrolls the texture.
    void draw(float alpha, bool textured, float scrollRate, float seconds) const;

    const GridVertex& at(int row, int col) const { return vertices[row * cols + col]; }

    GridVertex* vertices = nullptr;
    int cols = 0;
    int rows = 0;
    int count = 0;
};

// How far the texture has flowed after the given seconds of the frame clock.
float groundScroll(float seconds, float scrollRate);
