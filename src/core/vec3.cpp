#include "core/vec3.h"

#include <cmath>

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
