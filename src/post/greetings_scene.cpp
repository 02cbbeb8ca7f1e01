#include "post/greetings_scene.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "effects/ground_plane.h"
#include "effects/particles.h"
#include "effects/sky_and_ground.h"
#include "gfx/shader_program.h"
#include "post/roots_scene.h"
#include "post/shader_catalogue.h"

GreetingsCamera greetingsCamera(float r)
{
    return {{2.0f + 4.0f * std::sin(12.0f * r), 4.0f, 2.0f + 4.0f * std::cos(12.0f * r)},
            {2.0f * std::sin(5.0f * r), 3.0f * r - 2.0f, 2.0f * std::cos(5.0f * r)}};
}

void drawGreetingsScene(const SceneCall& call, const FrameTime& time)
{
    const float r = call.r;
    glLoadIdentity();
    GreetingsCamera camera = greetingsCamera(r);
    const Vec3& e = camera.eye;
    const Vec3& t = camera.target;
    gluLookAt(e.x, e.y, e.z, t.x, t.y, t.z, 0.0, 1.0, 0.1);

    const Vec3 light = (t * 2.5f - e * 2.5f) * -0.85f;
    const float position[4] = {light.x, light.y, light.z, 1.0f};
    const float modelAmbient[4] = {0.1f, 0.1f, 0.1f, 1.0f};
    const float ambient[4] = {0.25f, 0.25f, 0.25f, 1.0f};
    const float diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float specular[4] = {0.8f, 0.9f, 1.0f, 1.0f};
    const float materialAmbient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    const float materialDiffuse[4] = {0.35f, 0.35f, 0.35f, 1.0f};
    const float materialSpecular[4] = {0.6f, 0.6f, 0.6f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, materialAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, materialDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, materialSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 80.0f);

    glDisable(GL_FOG);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    ShaderProgram& bump = *shaderProgram(Shader::BumpMapping);
    glUseProgram(bump.program);
    bump.bindSampler(0, rootColourMap(), "colorMap");
    bump.bindSampler(1, rootNormalMap(), "alphaMap");
    bump.setUniform1f("reverse", -1.0f);

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    if (GroundPlane* ground = nearGround())
        ground->draw(1.0f, true, 1.0f, time.elapsed);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    bump.unbindSampler(1);
    bump.unbindSampler(0);
    glUseProgram(0);
    glEnable(GL_LIGHT0);

    // The dust drifts until four fifths of the window, then is gone at once.
    if (r < 0.8f) {
        dustSystem().update(time.delta);
        dustSystem().draw();
    }
}
