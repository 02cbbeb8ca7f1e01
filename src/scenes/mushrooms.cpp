#include "scenes/mushrooms.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <initializer_list>

#include "core/time_window.h"
#include "effects/billboards.h"
#include "effects/creature.h"
#include "effects/flow_field.h"
#include "effects/moon_picture.h"
#include "effects/sky_and_ground.h"
#include "effects/stairway.h"
#include "gfx/animated_mesh.h"
#include "gfx/camera_path.h"
#include "gfx/lighting.h"
#include "gfx/model_3ds.h"
#include "gfx/procedural_textures.h"
#include "post/shader_catalogue.h"

namespace {

void drawBumpMapped(GLuint colour, GLuint normals, std::initializer_list<Model_3DS*> models)
{
    beginBumpMapping(colour, normals, -1.0f);
    for (Model_3DS* m : models)
        m->Draw(false);
    endBumpMapping();
}

void drawMushroomModels()
{
    Model_3DS& a = mushroom(0);
    Model_3DS& b = mushroom(1);
    Model_3DS& c = mushroom(2);
    a.rot.x = 90.0f;
    a.scale = 1.8f;
    b.pos = {-15.0f, 5.0f, -45.0f};
    b.rot.x = 90.0f;
    b.scale = 1.8f;
    c.pos = {-35.0f, -2.5f, -12.0f};
    c.rot.x = 90.0f;
    c.scale = 1.5f;

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const StairwayImages& im = stairwayImages();
    drawBumpMapped(im.clusterColour, im.clusterNormals, {&a, &b});
    drawBumpMapped(im.tallColour, im.tallNormals, {&c});
}

// The sparks of the four stairways, interleaved path by path for each i.
void drawSparks(float r, const Vec3& right, const Vec3& up, const Vec3& forward, const FlowField& flow)
{
    glDepthMask(GL_FALSE);
    glBindTexture(GL_TEXTURE_2D, stairwayImages().starflare);
    const float pull[kStairwayCount] = {0.35f, 0.35f, 0.35f, 0.55f}; // the flow field's share
    const float half[kStairwayCount] = {0.4f, 0.4f, 0.45f, 0.45f};
    for (int i = 0; i < kSparksPerStairway; ++i) {
        const float f = static_cast<float>(i) / 1024.0f;
        for (int k = 0; k < kStairwayCount; ++k) {
            const StairSprite& s = stairSpark(k, i);
            const SparkPlace place = sparkPlace(r, s.start, s.end, s.lead, f);
            Vec3 p = stairwayPath(k).sample(place.along);
            p = p + flowField(flow, p, s.field) * pull[k];
            glColor4f(s.colour.x, s.colour.y, s.colour.z, place.a * s.size);
            if (place.a > 0.0f)
                drawBillboard(p, right, up, forward, half[k] * s.size);
        }
    }
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

// The four creature copies, opaque and unlit, while s < 1.
void drawCreatures(float r, float s)
{
    for (int k = 0; k < 4; ++k) {
        const Vec3 at = creatureSweep(k, s);
        glBindTexture(GL_TEXTURE_2D, proceduralTextures().flare);
        glPushMatrix();
        glTranslatef(at.x, at.y, at.z);
        glRotatef(180.0f, 0.0f, -1.0f, 0.0f);
        glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
        if (k == 2)
            glRotatef(45.0f * std::sin(5.0f * r), 0.0f, 0.0f, 1.0f);
        if (k == 3)
            glRotatef(-45.0f * std::sin(5.0f * r), 0.0f, 0.0f, 1.0f);
        glColor4f(0.4f, 0.4f, 0.5f, 1.0f);
        glScalef(3.5f, 3.5f, 3.5f);
        creatureMesh().draw(80.0f + 410.0f * r, 0);
        glPopMatrix();
    }
}

} // namespace

Vec3 creatureSweep(int k, float s)
{
    switch (k) {
    case 0: return {120.0f * s - 80.0f, 10.0f * s, -15.0f};
    case 1: return {160.0f * s - 110.0f, 12.0f * s - 5.0f, -10.0f * s - 1.0f};
    case 2: return {175.0f * s - 160.0f, 12.0f - 5.0f * s, 15.0f * s - 30.0f};
    default: return {185.0f * s - 140.0f, -2.0f * s - 12.0f, -5.0f};
    }
}

MushroomsCamera mushroomsCamera(float r)
{
    if (r <= 0.3085f) {
        const float a = ramp(r, 0.0f, 0.31f);
        return {{0.0f, 5.0f - 2.0f * a, 20.0f * a - 8.0f}, {8.0f * a - 10.0f, 5.0f - 3.0f * a, -10.0f}};
    }
    if (r <= 0.58f) {
        const float k = -5.0f * r - 3.0f;
        return {{k * std::cos(7.0f * r), 2.0f, k * std::sin(7.0f * r)}, {0.0f, 2.0f, 0.0f}};
    }
    if (r < 0.68f) {
        const float b = ramp(r, 0.58f, 0.78f);
        return {{-3.5f * std::cos(12.0f * r) - 40.0f, 0.0f, 6.0f * std::sin(15.0f * r) - 16.0f},
                {45.0f * b - 34.9f, 0.0f, 0.1f - 5.0f * r}};
    }
    if (r < 1.0f) {
        const float c = ramp(r, 0.6f, 1.0f);
        return {{3.5f * std::sin(12.0f * r), 4.0f - 8.0f * c, 1.0f - 3.0f * std::cos(12.0f * r)},
                {0.1f, 4.0f - 8.0f * c, 0.1f}};
    }
    return {};
}

SparkPlace sparkPlace(float r, float start, float end, float lead, float f)
{
    const float a = ramp(r, start, end) + lead;
    return {a, a * f + 0.65f * a * (1.0f - f)};
}

void updateMushrooms(const SceneCall&, const FrameTime&, FlowField& flow)
{
    flow.blend += 0.01f;
    flow.time += 0.01f;
}

void drawMushrooms(const Stage&, const SceneCall& call, const FrameTime& time, const FlowField& flow)
{
    const float r = call.r;
    glLoadIdentity();
    const float s = ramp(r, 0.0f, 0.2f);

    // Camera.
    const MushroomsCamera cam = mushroomsCamera(r);
    gluLookAt(cam.eye.x, cam.eye.y, cam.eye.z, cam.centre.x, cam.centre.y, cam.centre.z, 0.0, 1.0, 0.25);

    // Lights.
    const Vec3 light = (cam.centre * 2.0f - cam.eye * 2.0f) * -1.0f;
    applyLightSetup({.position = {light.x, light.y, light.z, 1.0f},
                     .modelAmbient = {0.3f, 0.3f, 0.3f, 1.0f},
                     .ambient = {0.5f, 0.5f, 0.5f, 1.0f},
                     .diffuse = {1.0f, 1.0f, 1.0f, 1.0f},
                     .specular = {0.8f, 0.9f, 1.0f, 1.0f},
                     .materialAmbient = {0.3f, 0.3f, 0.3f, 1.0f},
                     .materialDiffuse = {0.35f, 0.35f, 0.35f, 1.0f},
                     .materialSpecular = {0.6f, 0.6f, 0.6f, 1.0f},
                     .shininess = 80.0f});
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glDisable(GL_FOG);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    drawMushroomModels();

    // The moon, far behind the mushrooms. Releasing the maps left texturing
    // off; without it the moon would be a white square.
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    Vec3 right, up, forward;
    getCameraBasis(right, up, forward);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, moonImage());
    drawBillboard({-120.0f, 20.0f, -100.5f}, right, up, forward, 85.0f);

    // Sky and ground, far below.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glPushMatrix();
    glTranslatef(0.0f, -80.0f, 0.0f);
    drawSkyAndGround({0.75f, 0.76f, 0.8f}, 0.95f, {0.0f, 0.0f, 0.0f}, 3, time.elapsed);
    glPopMatrix();
    glDepthMask(GL_TRUE);

    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);

    drawSparks(r, right, up, forward, flow);

    if (s < 1.0f)
        drawCreatures(r, s);
}
