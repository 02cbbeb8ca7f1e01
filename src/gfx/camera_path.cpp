#include "gfx/camera_path.h"

#include <cmath>

#include "core/log.h"

void CameraPath::create(const char* name)
{
    pathName = name;
    points.clear();
    logWrite(" -> Creation :: Camera path '%s' created. \n", name);
}

void CameraPath::addPoint(const Vec3& point)
{
    points.push_back(point);
}

Vec3 CameraPath::sample(float t) const
{
    int n = pointCount();
    if (n == 0)
        return Vec3::zero();
    double x = static_cast<double>(t) * (n - 1);
    double first = std::floor(x);
    double u = x - first; // below 0 this is still the fraction past floor(x)
    // A walk from the head that stops at the ends: below 0 it stays on the
    // first point, past the end every point is the last.
    int last = n - 1;
    int i = first < 0.0 ? 0 : (first > last ? last : static_cast<int>(first));
    int i1 = i + 1 > last ? last : i + 1;
    int i2 = i1 + 1 > last ? last : i1 + 1;
    const Vec3& p0 = points[i];
    const Vec3& p1 = points[i1];
    // Each end's tangent is the chord leaving it; on the last segment m1 is zero.
    Vec3 m0 = p1 - p0;
    Vec3 m1 = points[i2] - p1;

    double u2 = u * u, u3 = u2 * u;
    double h00 = 2.0 * u3 - 3.0 * u2 + 1.0;
    double h01 = -2.0 * u3 + 3.0 * u2;
    double h10 = u3 - 2.0 * u2 + u;
    double h11 = u3 - u2;
    auto mix = [&](float a, float b, float ma, float mb) {
        return static_cast<float>(h00 * a + h01 * b + h10 * ma + h11 * mb);
    };
    return {mix(p0.x, p1.x, m0.x, m1.x), mix(p0.y, p1.y, m0.y, m1.y), mix(p0.z, p1.z, m0.z, m1.z)};
}

void CameraPath::destroy()
{
    if (pathName == nullptr)
        return;
    points.clear();
    points.shrink_to_fit();
    logWrite(" -> Destruction :: Camera path '%s' destroyed. \n", pathName);
    pathName = nullptr;
}
