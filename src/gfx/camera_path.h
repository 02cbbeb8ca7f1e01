// A named list of control points with a smooth curve laid through them; scenes
// sample it with a parameter from 0 to 1 for cameras, targets and movers.
#pragma once
#include <vector>

#include "core/vec3.h"

class CameraPath {
public:
    // Starts an empty path; the name is not copied and must outlive the path.
    void create(const char* pathName);
    // Appends a copy at the end; order of insertion is order along the curve.
    void addPoint(const Vec3& point);
    // The curve at t: the first point at t = 0, the last at t >= 1. Below 0 the
    // first segment is read at the fraction t (n - 1) - floor(t (n - 1)). An
    // empty path gives (0, 0, 0).
    Vec3 sample(float t) const;
    // Frees the points and logs the path's end; a path never created logs nothing.
    void destroy();

    int pointCount() const { return static_cast<int>(points.size()); }
    const char* name() const { return pathName; }

private:
    const char* pathName = nullptr;
    std::vector<Vec3> points;
};
