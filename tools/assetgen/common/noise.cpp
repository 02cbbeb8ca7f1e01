#include "common/noise.h"

#include <cmath>

namespace noise {

namespace {

int wrap(int i, int period)
{
    int m = i % period;
    return m < 0 ? m + period : m;
}

float fade(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

// Sixteen unit gradients around the circle, picked by hash.
struct Gradients {
    float x[16], y[16];
    Gradients()
    {
        for (int i = 0; i < 16; ++i) {
            x[i] = std::cos(6.2831853f * (static_cast<float>(i) + 0.5f) / 16.0f);
            y[i] = std::sin(6.2831853f * (static_cast<float>(i) + 0.5f) / 16.0f);
        }
    }
};
const Gradients kGradients;

float cornerDot(int ix, int iy, float dx, float dy, uint32_t seed)
{
    uint32_t i = hash(ix, iy, seed) & 15u;
    return kGradients.x[i] * dx + kGradients.y[i] * dy;
}

} // namespace

uint32_t hash(int x, int y, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float hashUnit(int x, int y, uint32_t seed)
{
    return static_cast<float>(hash(x, y, seed) >> 8) / 16777216.0f;
}

float gradient(float x, float y, int periodX, int periodY, uint32_t seed)
{
    float fx = std::floor(x), fy = std::floor(y);
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    float dx = x - fx, dy = y - fy;
    int ax = wrap(x0, periodX), bx = wrap(x0 + 1, periodX);
    int ay = wrap(y0, periodY), by = wrap(y0 + 1, periodY);
    float n00 = cornerDot(ax, ay, dx, dy, seed);
    float n10 = cornerDot(bx, ay, dx - 1.0f, dy, seed);
    float n01 = cornerDot(ax, by, dx, dy - 1.0f, seed);
    float n11 = cornerDot(bx, by, dx - 1.0f, dy - 1.0f, seed);
    float u = fade(dx), v = fade(dy);
    return 1.41f * mix(mix(n00, n10, u), mix(n01, n11, u), v);
}

float fbm(float x, float y, int periodX, int periodY, int octaves, float gain, uint32_t seed)
{
    float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * gradient(x, y, periodX, periodY, seed + 101u * o);
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

float ridged(float x, float y, int periodX, int periodY, int octaves, float gain, uint32_t seed)
{
    float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        float r = 1.0f - std::fabs(gradient(x, y, periodX, periodY, seed + 131u * o));
        sum += amplitude * r * r;
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

Cells voronoi(float x, float y, int periodX, int periodY, uint32_t seed)
{
    int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    Cells best{1e9f, 1e9f, 0};
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            int gx = cx + i, gy = cy + j;
            int wx = wrap(gx, periodX), wy = wrap(gy, periodY);
            float px = static_cast<float>(gx) + hashUnit(wx, wy, seed);
            float py = static_cast<float>(gy) + hashUnit(wx, wy, seed + 7u);
            float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < best.f1) {
                best.f2 = best.f1;
                best.f1 = d;
                best.id = hash(wx, wy, seed + 13u);
            } else if (d < best.f2) {
                best.f2 = d;
            }
        }
    }
    return best;
}

float smoothstep(float a, float b, float x)
{
    float t = (x - a) / (b - a);
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return t * t * (3.0f - 2.0f * t);
}

float mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

} // namespace noise
