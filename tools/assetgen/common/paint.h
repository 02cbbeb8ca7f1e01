// Small helpers shared by the picture generators: a linear RGB colour with
// blending, a texel's centre, and the rounding of a unit value into a byte.
#pragma once
#include <algorithm>
#include <cstdint>

namespace assetgen {

struct Rgb {
    float r, g, b;
    Rgb operator+(const Rgb& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Rgb operator*(float s) const { return {r * s, g * s, b * s}; }
};

inline Rgb blend(const Rgb& a, const Rgb& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The centre of texel (x, y) of a size x size picture in [-1, 1]^2, y up.
inline void texelCentre(int x, int y, int size, float& px, float& py)
{
    px = (x + 0.5f) / size * 2.0f - 1.0f;
    py = 1.0f - (y + 0.5f) / size * 2.0f;
}

// v in [0, 1] (clamped) to 0-255, rounded to nearest.
inline uint8_t toByte(float v)
{
    return static_cast<uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f);
}

} // namespace assetgen
