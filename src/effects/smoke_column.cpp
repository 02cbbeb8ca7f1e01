#include "effects/smoke_column.h"

#include "effects/particles.h"
#include "gfx/image_manager.h"

namespace {

struct {
    GLuint smoke1 = 0;
    GLuint smoke2 = 0;
    ParticleSystem smoke;
} state;

} // namespace

void loadSmokePictures(ImageManager& images)
{
    state.smoke1 = images.loadImage("data/gfx/smoke1.png", true, false);
    state.smoke2 = images.loadImage("data/gfx/smoke4.png", true, false);
}

void setupSmokeColumn()
{
    ParticleSystem& smoke = state.smoke;
    smoke.allocate(1050);
    smoke.rate = 750;
    smoke.rateJitter = 20.0f;
    smoke.respawn = true;
    smoke.life = {1.15f, 25.05f};
    smoke.flow = true;
    smoke.setColourStart(0.15f, 0.15f, 0.15f, 0.16f, 0.154f, 0.1516f);
    smoke.setColourEnd(0.14f, 0.134f, 0.1316f, -0.05f, -0.05f, -0.05f);
    smoke.setAlpha(0.31f, 0.55f, 0.04f, 0.04f);
    smoke.setPosition(0.0f, 10.0f, 0.0f, 0.2f, 12.52f, 5.2f);
    smoke.setAcceleration(1.0f, 0.0f, 0.0f, 0.2f, 0.6f);
    smoke.setSize(5.72f, 6.539f, 3.45f, 3.455f);
    smoke.speed = {0.185f, 1.0f};
    smoke.setDirection(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    smoke.setSpin(0.0f, 0.25f);
    smoke.setTexture(state.smoke1);
    smoke.setTexture2(state.smoke1);
    smoke.setStyle(1);
    smoke.shaped = true;
    smoke.setShape(3);
    smoke.shapeRadius = 50.0f;
    smoke.shapeSpread = 6.2831855f;
    smoke.update(0.1f); // warm-up
}

void releaseSmokePictures()
{
    // The image manager does not delete what it loads: its users do.
    for (GLuint* texture : {&state.smoke1, &state.smoke2}) {
        if (*texture != 0)
            glDeleteTextures(1, texture);
        *texture = 0;
    }
}

GLuint secondSmokeImage()
{
    return state.smoke2;
}

void updateSmokeColumn(float height, bool advance, float dt, FlowField& flow)
{
    ParticleSystem& smoke = state.smoke;
    smoke.setPosition(0.0f, height, 0.5f, 3.95f, 8.492f, 0.2535f);
    if (advance)
        smoke.update(dt);
    smoke.stepFlow(flow);
}

void drawSmokeColumn()
{
    glDisable(GL_FOG);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    state.smoke.draw();
    glDepthMask(GL_TRUE);
}
