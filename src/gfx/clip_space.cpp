#include "gfx/clip_space.h"

#include <epoxy/gl.h>

#include <cmath>

namespace {

struct Clip {
    float x, y, z, w;
};

Clip toClip(const float clip[16], const Vec3& v)
{
    return {clip[0] * v.x + clip[4] * v.y + clip[8] * v.z + clip[12],
            clip[1] * v.x + clip[5] * v.y + clip[9] * v.z + clip[13],
            clip[2] * v.x + clip[6] * v.y + clip[10] * v.z + clip[14],
            clip[3] * v.x + clip[7] * v.y + clip[11] * v.z + clip[15]};
}

} // namespace

void multiply(const float a[16], const float b[16], float out[16])
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            out[c * 4 + r] = a[r] * b[c * 4] + a[4 + r] * b[c * 4 + 1] + a[8 + r] * b[c * 4 + 2] + a[12 + r] * b[c * 4 + 3];
}

void currentClipMatrix(float clip[16])
{
    float modelview[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    multiply(projection, modelview, clip);
}

bool wellInside(const float clip[16], const Vec3& v)
{
    const Clip c = toClip(clip, v);
    // With the near plane this close, depth crowds towards the far plane, so
    // z gets a far thinner margin than x and y.
    return std::fabs(c.x) < 0.98f * c.w && std::fabs(c.y) < 0.98f * c.w && std::fabs(c.z) < 0.9999f * c.w;
}

bool boxOutsideView(const float clip[16], const Vec3& lo, const Vec3& hi)
{
    // For each face, count the corners beyond it; all eight beyond one face
    // means no part of the box is inside.
    int beyond[6] = {};
    for (int k = 0; k < 8; ++k) {
        const Vec3 v = {k & 1 ? hi.x : lo.x, k & 2 ? hi.y : lo.y, k & 4 ? hi.z : lo.z};
        const Clip c = toClip(clip, v);
        beyond[0] += c.x < -c.w;
        beyond[1] += c.x > c.w;
        beyond[2] += c.y < -c.w;
        beyond[3] += c.y > c.w;
        beyond[4] += c.z < -c.w;
        beyond[5] += c.z > c.w;
    }
    for (int n : beyond)
        if (n == 8)
            return true;
    return false;
}
