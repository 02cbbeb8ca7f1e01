#include "post/greetings_scene.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "effects/ground_plane.h"
#include "effects/particles.h"
#include "effects/sky_and_ground.h"
#include "gfx/lighting.h"
#include "post/roots_scene.h"
#include "post/shader_catalogue.h"

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

void updateGreetingsScene(const SceneCall& call, const FrameTime& time, FlowField& flow)
{
    if (!dustShown(call.r))
        return;
    dustSystem().update(time.delta);
    dustSystem().stepFlow(flow);
}

void drawGreetingsScene(const SceneCall& call, const FrameTime& time, const FlowField&)
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
    beginBumpMapping(rootColourMap(), rootNormalMap(), -1.0f);

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    if (GroundPlane* ground = nearGround())
        ground->draw(1.0f, true, 1.0f, time.elapsed);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    endBumpMapping();
    glEnable(GL_LIGHT0);

    if (dustShown(r))
        dustSystem().draw();
}
