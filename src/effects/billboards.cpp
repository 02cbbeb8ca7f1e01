#include "effects/billboards.h"

#include <epoxy/gl.h>

void getCameraBasis(Vec3& right, Vec3& up, Vec3& forward)
{
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    right = {m[0], m[4], m[8]};
    up = {m[1], m[5], m[9]};
    forward = {m[2], m[6], m[10]};
}

void drawBillboard(const Vec3& c, const Vec3& right, const Vec3& up, const Vec3& /*forward*/, float h)
{
    const Vec3 corners[4] = {c - right * h - up * h, c + right * h - up * h, c + right * h + up * h,
                             c - right * h + up * h};
    const float uv[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    glBegin(GL_QUADS);
    for (int k = 0; k < 4; ++k) {
        glTexCoord2f(uv[k][0], uv[k][1]);
        glVertex3f(corners[k].x, corners[k].y, corners[k].z);
    }
    glEnd();
}

void drawSunGlow(float half)
{
    glDisable(GL_FOG);
    Vec3 right, up, forward;
    getCameraBasis(right, up, forward);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);
    drawBillboard({-180.0f, 95.0f, 20.5f}, right, up, forward, half);
    glDepthMask(GL_TRUE);
}
