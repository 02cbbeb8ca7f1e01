// Tangent-space normal maps from height fields, for the pictures that come in
// pairs (a colour map and its bumps painted from the same heights).
#pragma once
#include <vector>

#include "common/image_io.h"

namespace assetgen {

// Heights in rows top-down. A wrapping field is read across its edges (for
// tiling pictures); otherwise the border texels repeat outwards.
struct HeightField {
    int width = 0;
    int height = 0;
    bool wraps = true;
    std::vector<float> h;

    HeightField(int w, int hgt, bool wrap) : width(w), height(hgt), wraps(wrap), h(static_cast<size_t>(w) * hgt, 0.0f) {}
    float& at(int x, int y) { return h[static_cast<size_t>(y) * width + x]; }
    float sample(int x, int y) const;
};

// An RGB picture of unit normals stored as normal * 0.5 + 0.5, z out of the
// surface and y towards the top of the picture (+v once loaded with a
// lower-left origin): each normal leans away from where the heights rise.
// strength scales the slopes (height units per texel).
Image normalMap(const HeightField& field, float strength);

} // namespace assetgen
