#include "scenes/clouds.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "core/rng.h"
#include "core/time_window.h"
#include "effects/billboards.h"
#include "effects/creature.h"
#include "effects/moon_picture.h"
#include "effects/particles.h"
#include "effects/smoke_column.h"
#include "gfx/animated_mesh.h"
#include "gfx/clip_space.h"
#include "gfx/lighting.h"
#include "gfx/procedural_textures.h"

namespace {

struct {
    GLuint skinList = 0;    // one mound's black skin
    GLuint crestList = 0;   // and its pink crest line
    ParticleSystem haze;
    CloudsGround ground;
    Vec3 gridLow, gridHigh; // the grid's bounding box
} state;

const MoundVertex& gridAt(const std::vector<MoundVertex>& grid, int row, int column)
{
    return grid[row * kMoundGridWidth + column];
}

void emit(const MoundVertex& v)
{
    glVertex3f(v.position.x, v.position.y, v.position.z);
}

// Every mound is the same grid, so its two strips are compiled once; only the
// placement differs between the twenty copies.
void compileMoundLists(const std::vector<MoundVertex>& grid)
{
    state.skinList = glGenLists(2);
    state.crestList = state.skinList + 1;

    // The skin: a strip through the cells that rise above the plain, which
    // hides whatever lies behind the mound.
    glNewList(state.skinList, GL_COMPILE);
    glBegin(GL_QUAD_STRIP);
    for (int r = 0; r < kMoundGridHeight - 1; ++r)
        for (int c = 0; c < kMoundGridWidth - 1; ++c) {
            bool raised = gridAt(grid, r, c).position.y > 0.0f || gridAt(grid, r, c + 1).position.y > 0.0f ||
                          gridAt(grid, r + 1, c + 1).position.y > 0.0f || gridAt(grid, r + 1, c).position.y > 0.0f;
            if (raised) {
                emit(gridAt(grid, r, c));
                emit(gridAt(grid, r + 1, c + 1));
            }
        }
    glEnd();
    glEndList();

    // The crest: a zigzag through every high vertex in row order.
    glNewList(state.crestList, GL_COMPILE);
    glBegin(GL_LINE_STRIP);
    for (int r = 0; r < kMoundGridHeight - 1; ++r)
        for (int c = 0; c < kMoundGridWidth - 1; ++c)
            if (gridAt(grid, r, c).position.y > 3.3f) {
                glColor4f(0.98f, 0.4f, 0.75f, 1.0f);
                emit(gridAt(grid, r, c));
            }
    glEnd();
    glEndList();
}

void configureHaze(ParticleSystem& haze)
{
    haze.allocate(1500);
    haze.rate = 1150;
    haze.rateJitter = 10.0f;
    haze.respawn = false;
    haze.life = {2.15f, 23.05f};
    haze.flow = false;
    haze.setColourStart(0.5f, 0.5f, 0.5f, 0.1f, 0.24f, 0.9516f);
    haze.setColourEnd(0.08f, 0.22f, 0.9316f, 0.3f, 0.3f, 0.3f);
    haze.setAlpha(0.2f, 0.81f, 0.084f, 1.0f);
    haze.setPosition(0.0f, 40.0f, 0.0f, 0.0f, 3.52f, 12.2f);
    haze.setAcceleration(0.0f, 0.0f, 4.0f, 0.5f, 1.0f);
    haze.setSize(12.8f, 12.06f, 10.9f, 8.91f); // the start range runs downwards
    haze.speed = {2.8185f, 4.0f};
    haze.setDirection(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    haze.setSpin(0.0f, 0.15f);
    haze.setTexture(secondSmokeImage());
    haze.setTexture2(0);
    haze.setStyle(1);
    haze.shaped = true;
    haze.setShape(3);
    haze.shapeRadius = 50.0f;
    haze.shapeSpread = 6.2831855f;
}

// One creature: placed, hung upside down, turned about z, scaled, drawn flat-shaded.
struct CreaturePlacement {
    Vec3 position;
    float turn; // degrees about z
    float scale;
    float phase; // key-frame position
};

void drawCreature(const CreaturePlacement& c)
{
    glPushMatrix();
    glTranslatef(c.position.x, c.position.y, c.position.z);
    glRotatef(180.0f, -1.0f, 0.0f, 0.0f);
    glRotatef(c.turn, 0.0f, 0.0f, 1.0f);
    glColor4f(0.4f, 0.4f, 0.5f, 1.0f);
    glScalef(c.scale, c.scale, c.scale);
    creatureMesh().draw(c.phase, 1);
    glPopMatrix();
}

// The box that holds both strips of a mound placed at z, in the frame of the
// mounds' common translation.
void moundBox(const Mound& m, float z, Vec3& low, Vec3& high)
{
    const Vec3 t = {m.position.x, m.position.y, z};
    const Vec3 a = state.gridLow + t, b = state.gridHigh + t;
    const float scales[2][2] = {{m.scale, 1.15f}, {m.scale + 0.01f, 1.16f}};
    low = high = Vec3{a.x * m.scale, a.y * 1.15f, a.z * m.scale};
    for (const auto& s : scales)
        for (const Vec3& v : {Vec3{a.x * s[0], a.y * s[1], a.z * s[0]}, Vec3{b.x * s[0], b.y * s[1], b.z * s[0]}}) {
            low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
            high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
        }
}

} // namespace

CloudsGround buildCloudsGround()
{
    CloudsGround g;
    rng::seed(52326);
    g.centres[1] = {0.0f, 0.0f, rng::next()};
    g.centres[2] = {1.0f, 2.0f, 0.0f};

    const float w = static_cast<float>(kMoundGridWidth), h = static_cast<float>(kMoundGridHeight);
    g.grid.resize(kMoundGridWidth * kMoundGridHeight);
    for (int r = 0; r < kMoundGridHeight; ++r)
        for (int c = 0; c < kMoundGridWidth; ++c) {
            float h0 = rng::next() * (static_cast<float>(r) / h) * 1.5f;
            Vec3 p = {(static_cast<float>(c) - 0.5f * w) * 0.1f, -0.0f, (static_cast<float>(r) - 0.5f * h) * 0.1f};
            float y = 0.0f;
            for (const Vec3& centre : g.centres) {
                float d = (p - centre).length();
                float s = (2.85f - 0.75f * d) / 2.85f;
                if (s < 0.15f)
                    s = -0.01451f; // far from a centre the plain sinks a little
                y += (h0 + 3.94f) * std::sin(s * 3.141592f * 0.5f);
            }
            g.grid[r * kMoundGridWidth + c].position = p + Vec3{0.0f, y, 0.0f};
        }

    for (Mound& m : g.mounds) {
        m.scale = 2.5f * rng::next() + 1.5f;
        Vec3 q1 = randomInCube(140.0f);
        Vec3 q2 = randomInCube(90.0f);
        m.position = {q2.x, 22.0f, q1.z};
        m.speed = 300.0f * rng::next() + 20.0f;
    }
    return g;
}

void setupClouds(const Stage& stage)
{
    loadCreature();
    loadMoonPicture(stage.images);
    rng::seed(10059);
    configureHaze(state.haze);
    state.haze.update(3.0f); // warm-up: the haze is already rising when the window opens
    state.ground = buildCloudsGround();
    compileMoundLists(state.ground.grid);
    state.gridLow = state.gridHigh = state.ground.grid[0].position;
    for (const MoundVertex& v : state.ground.grid) {
        const Vec3& p = v.position;
        state.gridLow = {std::min(state.gridLow.x, p.x), std::min(state.gridLow.y, p.y), std::min(state.gridLow.z, p.z)};
        state.gridHigh = {std::max(state.gridHigh.x, p.x), std::max(state.gridHigh.y, p.y), std::max(state.gridHigh.z, p.z)};
    }
}

void releaseClouds()
{
    if (state.skinList != 0)
        glDeleteLists(state.skinList, 2);
    state.skinList = state.crestList = 0;
    releaseMoonPicture();
    state.ground.grid.clear();
    state.ground.grid.shrink_to_fit();
    releaseCreature();
}

CloudsCamera cloudsCamera(float p)
{
    const float s12 = std::sin(12.0f * p), c12 = std::cos(12.0f * p);
    const Vec3 a = {20.0f * std::cos(15.0f * p) - 20.0f, 2.0f * std::sin(20.0f * p) + 49.0f, 5.0f};
    const Vec3 b = {-28.0f * s12 + 2.0f, 57.0f, -20.0f * c12 - 15.0f};
    const Vec3 c = {28.0f * s12 + 9.0f, 2.0f * p + 48.0f, 20.0f * c12 + 1.5f};
    const Vec3 d = Vec3{10.0f * std::cos(20.0f * p) + 30.0f, -10.0f, std::sin(15.0f * p)} * ramp(p, 0.96f, 1.0f);
    const float turn = ramp(p, 0.65f, 0.72f);
    const Vec3 e = Vec3{-30.0f * s12 - 12.0f, 48.0f, -22.0f * c12 - 1.5f} * turn;
    const Vec3 f = Vec3{30.0f * s12 - 12.0f, 47.0f, -22.0f * c12 - 1.5f} * (1.0f - turn);
    const Vec3 g = f + e + d;

    CloudsCamera cam{lerp(c, g, p), lerp(b, a, p), {0.0f, 1.0f, 0.0f}};
    if (p > 0.35f && p < 0.65f) { // the tilted shots, high above and looking down
        cam.eye.y = 80.0f - 20.0f * p;
        cam.target.y = 20.0f * p + 10.0f;
        cam.up = {0.35f, 1.0f, 0.5f};
    }
    return cam;
}

float moundDepth(const Mound& mound, float p)
{
    return p * mound.speed + mound.position.z;
}

void updateClouds(const SceneCall&, const FrameTime& time, FlowField&)
{
    ParticleSystem& haze = state.haze;
    haze.position = {0.0f, 40.5f, -50.0f};
    haze.positionJitter = {1.2f, 8.52f, 1.2f};
    haze.update(1.155f * time.delta);
}

void drawClouds(const Stage&, const SceneCall& call, const FrameTime&, const FlowField&)
{
    const float p = call.r;

    // Camera.
    glLoadIdentity();
    const CloudsCamera cam = cloudsCamera(p);
    gluLookAt(cam.eye.x, cam.eye.y, cam.eye.z, cam.target.x, cam.target.y, cam.target.z, cam.up.x, cam.up.y,
              cam.up.z);

    // Haze, in violet fog.
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    const float fogColour[4] = {0.25f, 0.0f, 0.65f, 1.0f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 0.85f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, 0.0f);
    glFogf(GL_FOG_END, 110.0f);
    glEnable(GL_FOG);
    state.haze.draw();
    glDepthMask(GL_TRUE);

    // Lights.
    const Vec3 light = cam.eye - cam.target;
    applyLightSetup({.position = {light.x, light.y, light.z, 1.0f},
                     .modelAmbient = {0.25f, 0.25f, 0.3f, 1.0f},
                     .ambient = {0.45f, 0.45f, 0.45f, 1.0f},
                     .diffuse = {0.6f, 0.6f, 0.6f, 1.0f},
                     .specular = {0.75f, 0.75f, 0.75f, 1.0f},
                     .materialAmbient = {0.3f, 0.3f, 0.3f, 1.0f},
                     .materialDiffuse = {0.65f, 0.65f, 0.65f, 1.0f},
                     .materialSpecular = {0.8f, 0.8f, 0.8f, 1.0f},
                     .shininess = 80.0f});
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    // The haze's sprites leave texturing off; the creatures and the moon need it.
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, proceduralTextures().noise);

    // Creatures.
    const CreaturePlacement creatures[4] = {
        {{0.0f, 4.0f * std::sin(30.0f * p) + 52.0f, -12.0f}, 45.0f * std::sin(5.0f * p), 3.5f, 410.0f * p + 80.0f},
        {{20.0f * std::cos(15.0f * p) + 12.0f, 4.0f * std::sin(30.0f * p) + 48.0f, 18.0f - 25.0f * p},
         40.0f * std::sin(3.75f * p), 3.5f, 390.0f * p + 120.0f},
        {{20.0f * std::cos(15.0f * p) - 20.0f, 2.0f * std::sin(30.0f * p) + 53.0f, 5.0f},
         40.0f * std::sin(4.45f * p), 3.5f, 395.0f * p + 50.0f},
        {{30.0f - 10.0f * std::cos(15.0f * p), 63.0f - 12.0f * std::sin(7.0f * p), 18.0f * std::sin(12.0f * p) - 20.0f},
         35.0f * std::sin(5.45f * p), 3.15f, 405.0f * p},
    };
    for (const CreaturePlacement& c : creatures)
        drawCreature(c);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);

    // Mounds, sliding towards the viewer until they pass z = 140. A mound
    // wholly out of view is skipped: it could not reach the screen.
    glPushMatrix();
    glTranslatef(-20.5f, 5.0f, -200.0f);
    float clip[16];
    currentClipMatrix(clip);
    for (const Mound& m : state.ground.mounds) {
        const float z = moundDepth(m, p);
        if (z >= 140.0f)
            continue;
        Vec3 low, high;
        moundBox(m, z, low, high);
        if (boxOutsideView(clip, low, high))
            continue;
        glPushMatrix();
        glScalef(m.scale, 1.15f, m.scale);
        glTranslatef(m.position.x, m.position.y, z);
        glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
        glCallList(state.skinList);
        glPopMatrix();

        glPushMatrix();
        glScalef(m.scale + 0.01f, 1.16f, m.scale + 0.01f);
        glTranslatef(m.position.x, m.position.y, z);
        glCallList(state.crestList);
        glPopMatrix();
    }
    glPopMatrix();

    // Moon.
    glBindTexture(GL_TEXTURE_2D, moonImage());
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawSunGlow(55.0f);
    glTranslatef(0.0f, 24.5f, 0.0f);
}
