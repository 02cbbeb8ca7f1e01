#include "scenes/roots.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "core/time_window.h"
#include "effects/bark_maps.h"
#include "effects/flow_field.h"
#include "gfx/camera_path.h"
#include "gfx/lighting.h"
#include "post/shader_catalogue.h"

namespace {

const char* const kPathNames[6] = {"root path 1", "root path 2", "root path 3",
                                   "root path 4", "root path 5", "root path 6"};

struct {
    CameraPath paths[6];
    RootTube tubes[6] = {RootTube(0.223f), RootTube(0.23f), RootTube(0.26f),
                         RootTube(0.24f),  RootTube(0.25f), RootTube(0.27f)};
} state;

// The six roots in drawing order: field, growth window, glow window.
struct RootCall {
    int field;
    float growFrom, growTo;
    Vec3 glow;
};
const RootCall kRootCalls[6] = {
    {2, 0.05f, 0.8f, {0.78f, 0.9f, 0.125f}}, {3, 0.0f, 0.75f, {0.75f, 0.9f, 0.2f}},
    {2, 0.1f, 0.7f, {0.718f, 0.821f, 0.1f}}, {3, 0.15f, 0.88f, {0.86f, 0.99f, 0.3f}},
    {3, 0.1f, 0.825f, {0.825f, 0.95f, 0.25f}}, {2, 0.12f, 0.69f, {0.72f, 0.87f, 0.1f}},
};

// The swell and glow of ring (pair) i: X, s, Y.
struct RingLight {
    float swell, glow, glowSwell;
};

// The swell ramps of the growth and the glow ramps of t: the same for every
// ring of one draw.
struct RootRamps {
    float r1, r2, r3, q1, q2, q3, glowHeight;
    RootRamps(float growth, float t, const Vec3& w)
        : r1(ramp(growth, 0.74f, 0.94f)), r2(ramp(growth, 0.75f, 0.95f)), r3(ramp(growth, 0.76f, 0.96f)),
          q1(ramp(t, w.x, w.y)), q2(ramp(t, w.x + 0.01f, w.y + 0.01f)), q3(ramp(t, w.x + 0.02f, w.y + 0.02f)),
          glowHeight(w.z)
    {
    }
};

RingLight ringLight(const RootRamps& ramps, int i)
{
    const float a = 0.005f * static_cast<float>(i), b = a + 0.1f;
    const auto& [r1, r2, r3, q1, q2, q3, h] = ramps;
    RingLight l;
    l.swell = -0.05f * bump(r1, a, b, 1.0f) + 0.1f * bump(r2, a, b, 1.0f) - 0.05f * bump(r3, a, b, 1.0f);
    l.glowSwell = h * bump(q1, a, b, 1.0f) + 2.0f * h * bump(q2, a, b, 1.0f) + h * bump(q3, a, b, 1.0f);
    l.glow = 0.05f * bump(q1, a, b, 1.0f) + 0.125f * bump(q2, a, b, 1.0f) + 0.05f * bump(q3, a, b, 1.0f);
    return l;
}

Vec3 ringColour(const RootRamps& ramps, int j)
{
    RingLight l = ringLight(ramps, j);
    Vec3 hot = Vec3{1.0f, 0.15f, 0.12f} * l.glow + Vec3{1.0f, 0.35f, 0.15f} * (1.0f - l.glow);
    return lerp({0.85f, 0.85f, 0.85f}, hot, 10.0f * (l.swell + l.glow));
}

} // namespace

RootTube::RootTube(float baseRadius) : radius(baseRadius) {}

void addRootPoints(CameraPath* paths[6])
{
    float s1 = 1.5f, s2 = 1.5f, s3 = 1.5f, s4 = 1.5f, s5 = 5.0f, s6 = 3.3f;
    for (int i = 0; i < 132; ++i) {
        const float f = static_cast<float>(i) / 132.0f;
        const double th = f * 6.2831855;
        paths[0]->addPoint({static_cast<float>(std::cos(3.1 * th) * (0.5 * f - 1.2) * s1), 42.0f * f,
                            static_cast<float>((0.8 * f - 1.4) * std::sin(1.52 * th) * s1)});
        paths[1]->addPoint({static_cast<float>(std::cos(7.979645562171936 * f) * (2.0 * f + 1.2) * s2), 46.0f * f,
                            static_cast<float>((1.35 * f + 1.4) * std::sin(2.15 * th) * s2)});
        paths[2]->addPoint({static_cast<float>(std::cos(10.807079029083251 * f) * (3.2 - 2.5 * f) * s3), 48.0f * f,
                            static_cast<float>((2.4 - 3.35 * f) * std::sin(4.15 * th) * s3)});
        paths[3]->addPoint({static_cast<float>((-1.5 * f - 1.25) * s4 * std::cos(11.008140964508057 * f)), 49.0f * f + 2.0f,
                            static_cast<float>((1.35 * f - 2.5) * std::sin(3.15 * th) * s4)});
        paths[4]->addPoint({static_cast<float>((-1.0 - f) * s5 * std::cos(11.008140964508057 * f)), 51.0f * f,
                            static_cast<float>((1.5 - 1.35 * f) * std::sin(3.15 * th) * s5)});
        paths[5]->addPoint({static_cast<float>(std::cos(th) * (2.15 * f - 2.15) * s6), 40.0f * f,
                            static_cast<float>((-1.25 * f - 1.25) * std::sin(1.1 * th) * s6)});
        if (i <= 65) {
            s1 += 0.01f; s2 += 0.011f; s3 += 0.01f; s4 += 0.02f; s5 -= 0.001f; s6 += 0.1f;
        } else {
            s1 -= 0.01f; s2 -= 0.012f; s3 -= 0.01f; s4 -= 0.025f; s5 += 0.015f; s6 -= 0.1f;
        }
    }
}

void setupRoots(const Stage& stage)
{
    loadBarkMaps(stage.images);
    CameraPath* paths[6];
    for (int k = 0; k < 6; ++k) {
        state.paths[k].create(kPathNames[k]);
        paths[k] = &state.paths[k];
    }
    addRootPoints(paths);
}

void releaseRoots()
{
    for (CameraPath& path : state.paths)
        path.destroy();
    releaseBarkMaps();
}

bool computeRootRings(RootTube& tube, float growth, const CameraPath& path, int field, const Vec3& w, float t,
                      bool tapered, const FlowField& flow)
{
    if (growth <= 0.0f)
        return false;
    const RootRamps ramps(growth, t, w);
    const int n = tube.rings;
    for (int i = 0; i <= n; ++i) {
        const float f = static_cast<float>(i) / static_cast<float>(n);
        RingLight l = ringLight(ramps, i);
        tube.texOffset[i] = 0.0f;
        if (!tapered)
            tube.ringRadius[i] = (1.75f - f) * tube.radius + 3.5f * f * l.swell + 3.5f * f * l.glowSwell;
        else if (f > 0.25f)
            tube.ringRadius[i] = (3.75f - 3.75f * f) * tube.radius + 3.5f * f * l.swell + 3.5f * f * l.glowSwell;
        Vec3 c = path.sample(growth * f);
        tube.ringCentre[i] = c + flowField(flow, c, field) * 0.28f;
    }
    return true;
}

Vec3 rootRingColour(float growth, float t, const Vec3& w, int j)
{
    return ringColour(RootRamps(growth, t, w), j);
}

void drawRoot(RootTube& tube, float growth, const CameraPath& path, int field, const Vec3& cut, float t,
              const Vec3& w, bool tapered, const FlowField& flow)
{
    if (growth <= 0.0f)
        return;
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const int n = tube.rings, m = tube.sides;
    const float L = 48.0f * growth;
    computeRootRings(tube, growth, path, field, w, t, tapered, flow);
    const RootRamps ramps(growth, t, w);

    if (tube.ringCentre[20].y > cut.y) {
        const float normalY = 1.0f - 2.0f * std::clamp(cut.z, 0.0f, 1.0f);
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j < n; ++j) {
            Vec3 colour = ringColour(ramps, j);
            glColor4f(colour.x, colour.y, colour.z, 1.0f);
            for (int k = 0; k <= m; ++k) {
                const float phi = 2.0f * static_cast<float>(k) * 3.1415927f / static_cast<float>(m);
                const float c = std::cos(phi), s = std::sin(phi);
                const float ny = s * normalY;
                for (int ring : {j, j + 1}) {
                    const float rr = 1.25f * tube.ringRadius[ring];
                    const Vec3& centre = tube.ringCentre[ring];
                    glNormal3f(rr * c, ny, rr * c);
                    glTexCoord2f((2.0f * static_cast<float>(k) + tube.texOffset[ring]) / static_cast<float>(m),
                                 static_cast<float>(ring) * L / static_cast<float>(n));
                    glVertex3f(rr * c + centre.x, static_cast<float>(ring) * centre.y / static_cast<float>(n),
                               rr * s + centre.z);
                }
            }
        }
        glEnd();
    }
    glEnable(GL_TEXTURE_2D);
}

RootsCamera rootsCamera(float r, const CameraPath& path1, const CameraPath& path2, const CameraPath& path3)
{
    RootsCamera c;
    if (r < 0.501f) {
        Vec3 a = path1.sample(0.35f * r), b = path1.sample(0.8f * r), h = path1.sample(0.5f * r);
        c.eye = {a.x + 2.6f * std::cos(12.0f * r), 36.4f + 39.5f * r, a.z + 0.45f - 3.0f * std::sin(12.0f * r)};
        c.target = {b.x, 41.25f + h.y + 21.5f * r, b.z};
    } else if (r < 1.0f) {
        Vec3 a = path2.sample(0.35f * r), b = path2.sample(0.8f * r), h = path2.sample(0.5f * r);
        c.eye = {a.x - 5.5f * std::cos(12.0f * r), 24.55f + 35.0f * r, a.z + 3.8f * std::sin(12.0f * r)};
        c.target = {-b.x, 30.0f + h.y + 15.0f * r, path3.sample(0.8f * r).z};
    } // at r = 1 both stay at the origin
    c.up = {0.12f + 0.15f * r, ramp(r, 0.1f, 0.6f) - 1.0f, -0.58f * r};
    return c;
}

void updateRoots(const SceneCall&, const FrameTime&, FlowField& flow)
{
    flow.blend += 0.012f;
    flow.time += 0.02f;
}

void drawRoots(const Stage&, const SceneCall& call, const FrameTime&, const FlowField& flow)
{
    const float r = call.r;
    glLoadIdentity();
    RootsCamera camera = rootsCamera(r, state.paths[0], state.paths[1], state.paths[2]);
    const Vec3& e = camera.eye;
    const Vec3& t = camera.target;
    gluLookAt(e.x, e.y, e.z, t.x, t.y, t.z, camera.up.x, camera.up.y, camera.up.z);
    const Vec3 cut = (t * 0.5f - e * 0.5f) * -0.15f;

    const Vec3 light = (t * 2.5f - e * 2.5f) * 0.85f;
    applyLightSetup({.position = {light.x, light.y, light.z, 1.0f},
                     .modelAmbient = {0.05f, 0.05f, 0.05f, 1.0f},
                     .ambient = {0.15f, 0.15f, 0.15f, 1.0f},
                     .diffuse = {0.5f, 0.5f, 0.5f, 1.0f},
                     .specular = {0.5f, 0.5f, 0.5f, 1.0f},
                     .materialAmbient = {0.3f, 0.3f, 0.3f, 1.0f},
                     .materialDiffuse = {0.35f, 0.35f, 0.35f, 1.0f},
                     .materialSpecular = {0.35f, 0.35f, 0.35f, 1.0f},
                     .shininess = 80.0f});
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);

    beginBumpMapping(barkColourMap(), barkNormalMap(), 1.0f);
    glPushMatrix();
    glTranslatef(0.0f, 40.0f, 0.0f);
    for (int k = 0; k < 6; ++k) {
        const RootCall& root = kRootCalls[k];
        drawRoot(state.tubes[k], ramp(r, root.growFrom, root.growTo), state.paths[k], root.field, cut, r, root.glow,
                 true, flow);
    }
    glPopMatrix();
    endBumpMapping();
}
