// Where points land in the view volume, for skipping or grouping draws on the
// CPU without changing what reaches the screen.
#pragma once
#include "core/vec3.h"

// out = a * b, column-major 4 x 4 matrices as GL keeps them.
void multiply(const float a[16], const float b[16], float out[16]);
// The current projection times the current modelview.
void currentClipMatrix(float clip[16]);

// Well inside the view volume. A draw that holds a quad needing clipping is
// clipped as a whole on the software rasteriser, and the edges of its other
// quads can then land a rounding step away from where they fall when drawn
// alone; so a quad near or across the volume's faces gets a call of its own,
// as the immediate billboard does, and only quads well inside share one.
bool wellInside(const float clip[16], const Vec3& v);

// True when the box [lo, hi] lies wholly outside one face of the view volume,
// so that nothing drawn inside it can reach the screen.
bool boxOutsideView(const float clip[16], const Vec3& lo, const Vec3& hi);
