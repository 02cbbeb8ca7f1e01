#include "scenes/greetings.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "effects/bark_maps.h"
#include "effects/ground_plane.h"
#include "effects/particles.h"
#include "gfx/lighting.h"
#include "gfx/procedural_textures.h"
#include "post/shader_catalogue.h"

namespace {

struct {
    GroundPlane* near = nullptr;
    ParticleSystem dust; // lit spheres on the flow field
} state;

} // namespace

void setupGreetings(const Stage&)
{
    state.near = new GroundPlane();
    state.near->init(32, 32, 1.0f, 435.0f, -8.0f, 3.0f, 1.15f);

    ParticleSystem& dust = state.dust;
    dust.allocate(1400);
    dust.rate = 950;
    dust.rateJitter = 10.0f;
    dust.respawn = true;
    dust.life = {0.05f, 4.0f};
    dust.flow = true;
    dust.setColourStart(0.7f, 0.7f, 0.7f, 0.5f, 0.5f, 0.5f);
    dust.setColourEnd(0.48f, 0.48f, 0.48f, 0.5f, 0.5f, 0.5f);
    dust.setAlpha(0.5f, 0.81f, 0.084f, 0.0f);
    dust.setPosition(4.0f, 3.0f, -2.0f, 0.1f, 0.1f, 0.1f);
    dust.setAcceleration(0.0f, 0.0f, 3.0f, 0.5f, 1.0f);
    dust.setSize(0.4f, 0.5f, 0.1f, 0.1f);
    dust.speed = {2.8185f, 4.0f};
    dust.setDirection(0.0f, 0.0f, 2.0f, 0.0f, 0.0f, 0.0f);
    dust.setSpin(0.0f, 0.15f);
    dust.setTexture(proceduralTextures().flare);
    dust.setStyle(15);
    dust.shaped = true;
    dust.setShape(1);
    dust.shapeRadius = 0.25f;
    dust.shapeSpread = 6.2831855f;
}

void releaseGreetings()
{
    delete state.near;
    state.near = nullptr;
}

GreetingsCamera greetingsCamera(float r)
{
    return {{2.0f + 4.0f * std::sin(12.0f * r), 4.0f, 2.0f + 4.0f * std::cos(12.0f * r)},
            {2.0f * std::sin(5.0f * r), 3.0f * r - 2.0f, 2.0f * std::cos(5.0f * r)}};
}

namespace {

// The dust drifts until four fifths of the window, then is gone at once.
bool dustShown(float r)
{
    return r < 0.8f;
}

} // namespace

void updateGreetings(const SceneCall& call, const FrameTime& time, FlowField& flow)
{
    if (!dustShown(call.r))
        return;
    state.dust.update(time.delta);
    state.dust.stepFlow(flow);
}

void drawGreetings(const Stage&, const SceneCall& call, const FrameTime& time, const FlowField&)
{
    const float r = call.r;
    glLoadIdentity();
    GreetingsCamera camera = greetingsCamera(r);
    const Vec3& e = camera.eye;
    const Vec3& t = camera.target;
    gluLookAt(e.x, e.y, e.z, t.x, t.y, t.z, 0.0, 1.0, 0.1);

    const Vec3 light = (t * 2.5f - e * 2.5f) * -0.85f;
    applyLightSetup({.position = {light.x, light.y, light.z, 1.0f},
                     .modelAmbient = {0.1f, 0.1f, 0.1f, 1.0f},
                     .ambient = {0.25f, 0.25f, 0.25f, 1.0f},
                     .diffuse = {1.0f, 1.0f, 1.0f, 1.0f},
                     .specular = {0.8f, 0.9f, 1.0f, 1.0f},
                     .materialAmbient = {0.3f, 0.3f, 0.3f, 1.0f},
                     .materialDiffuse = {0.35f, 0.35f, 0.35f, 1.0f},
                     .materialSpecular = {0.6f, 0.6f, 0.6f, 1.0f},
                     .shininess = 80.0f});

    glDisable(GL_FOG);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    beginBumpMapping(barkColourMap(), barkNormalMap(), -1.0f);

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    if (GroundPlane* ground = state.near)
        ground->draw(1.0f, true, 1.0f, time.elapsed);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    endBumpMapping();
    glEnable(GL_LIGHT0);

    if (dustShown(r))
        state.dust.draw();
}
