#include "core/vec3.h"

#include <cmath>

namespace {
const float kPi = 3.141592f; // the show's pi, as a float
}

Vec3 Vec3::addInPlace(const Vec3& b)
{
    x += b.x;
    y += b.y;
    z += b.z;
    return *this;
}

Vec3 Vec3::divide(float s) const
{
    double inverse = 1.0 / static_cast<double>(s);
    return {static_cast<float>(x * inverse), static_cast<float>(y * inverse),
            static_cast<float>(z * inverse)};
}

float Vec3::length() const
{
    double dx = x, dy = y, dz = z;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

Vec3 Vec3::normalize()
{
    float l = length();
    if (l == 0.0f)
        return zero();
    x /= l;
    y /= l;
    z /= l;
    return *this;
}

Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.x * b.z - a.z * b.x, a.x * b.y - a.y * b.x};
}

Vec3 lerp(const Vec3& a, const Vec3& b, float t)
{
    return a * (1.0f - t) + b * t;
}

Vec3 transform(const float m[9], const Vec3& v)
{
    return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
            m[6] * v.x + m[7] * v.y + m[8] * v.z};
}

Vec3 spherePoint(float r, float theta, float phi)
{
    float sc = std::sin(theta) * std::cos(phi);
    float ss = std::sin(theta) * std::sin(phi);
    return {r * sc, r * ss, r * std::cos(theta)};
}

Vec3 randomSpherePoint(float r)
{
    float u1 = rng::next();
    float u2 = rng::next();
    float theta = u2 * kPi;
    float phi = 2.0f * u1 * kPi;
    return spherePoint(r, theta, phi);
}

Vec3 randomInCube(float s)
{
    float u1 = rng::next();
    float u2 = rng::next();
    float u3 = rng::next();
    return {(u1 - 0.5f) * s, (u2 - 0.5f) * s, (u3 - 0.5f) * s};
}

Vec3 randomInBox(float sx, float sy, float sz)
{
    float u1 = rng::next();
    float u2 = rng::next();
    float u3 = rng::next();
    return {(2.0f * u3 - 1.0f) * sx, (2.0f * u2 - 1.0f) * sy, (2.0f * u1 - 1.0f) * sz};
}

void curvePoint(float r, float a, int kind, Vec3& out)
{
    switch (kind) {
    case 2:
        out = {r * std::sin(a), r * std::cos(a), 0.0f};
        break;
    case 5:
        out = {r * std::pow(std::sin(a), 3.0f), r * (std::cos(a) - std::pow(std::cos(a), 4.0f)), 0.0f};
        break;
    case 6:
        out = {r * std::tan(a), r * std::cos(a), 0.0f};
        break;
    case 7: {
        float s = std::sin(a), c = std::cos(a);
        out = {2.0f * r * s * s * c, 2.0f * r * s * c * c, 0.0f};
        break;
    }
    default:
        break; // unknown kinds leave the point where it was
    }
}

namespace rng {

namespace {
uint32_t gState = kInitialState;
}

void seed(uint32_t value)
{
    gState = value;
}

uint32_t state()
{
    return gState;
}

uint32_t step(uint32_t x)
{
    uint32_t b = x & 1u;
    uint32_t h = x >> 1;
    return 1588635695u * b - 1117695901u * h; // wraps; no correction for a negative difference
}

float next()
{
    gState = step(gState);
    return static_cast<float>(static_cast<double>(gState) / 4294967291.0);
}

} // namespace rng
