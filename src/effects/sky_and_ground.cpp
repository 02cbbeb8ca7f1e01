#include "effects/sky_and_ground.h"

#include <epoxy/gl.h>

#include "effects/ground_plane.h"
#include "gfx/image_manager.h"
#include "gfx/quadric.h"

namespace {

struct {
    GLuint roots = 0;
    GLuint skyA = 0; // night sky with drifting clouds
    GLuint skyB = 0; // pale dawn haze
    GLuint ground = 0;
    GLuint domeList = 0;
    GroundPlane* far = nullptr;
} state;

} // namespace

void setupSkyAndGround(ImageManager& images)
{
    state.roots = images.loadImage("data/gfx/roots.png", true, false);
    state.skyA = images.loadImage("data/gfx/CGSkies_0225_thumblarge.jpg", true, false);
    state.skyB = images.loadImage("data/gfx/CGSkies_0092_thumblarge.jpg", true, false);
    state.ground = images.loadImage("data/gfx/ground.jpg", true, false);

    state.far = new GroundPlane();
    state.far->init(32, 32, 1.0f, 230.0f, 10.0f, 3.0f, 1.25f);

    state.domeList = glGenLists(1);
    glNewList(state.domeList, GL_COMPILE);
    gluSphere(sharedQuadric(), 210.0, 24, 24);
    glEndList();
}

void drawSkyAndGround(const Vec3& tint, float alpha, const Vec3& position, int mode, float seconds)
{
    const float fogColour[4] = {0.0f, 0.0f, 0.0f, alpha};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 0.25f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, 0.0f);
    glFogf(GL_FOG_END, 310.0f);
    glEnable(GL_FOG);

    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_DEPTH_TEST);
    glColor4f(tint.x, tint.y, tint.z, alpha);

    GLuint texture = state.skyA;
    if (mode == 2) {
        glTranslatef(0.0f, 35.5f, position.z);
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
        glRotatef(80.0f, 0.0f, 0.0f, 1.0f);
        glRotatef(95.0f, 0.0f, -1.0f, 0.0f);
        texture = state.roots;
    } else {
        glTranslatef(0.0f, -5.5f, position.z);
        glRotatef(90.0f, -1.0f, 0.0f, 0.0f);
        if (mode == 3)
            texture = state.skyB;
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    glCallList(state.domeList);
    glPopMatrix();
    glDisable(GL_FOG);

    if (mode == 1) {
        // The far ground, unfogged, in the caller's matrix; blending stays additive.
        glEnable(GL_TEXTURE_2D);
        ImageManager::bind(state.ground);
        state.far->draw(alpha, true, 1.0f, seconds);
    }
}

GroundPlane* farGround() { return state.far; }

void releaseSkyAndGround()
{
    const GLuint textures[4] = {state.roots, state.skyA, state.skyB, state.ground};
    glDeleteTextures(4, textures);
    state.roots = state.skyA = state.skyB = state.ground = 0;
    if (state.domeList)
        glDeleteLists(state.domeList, 1);
    state.domeList = 0;
    delete state.far;
    state.far = nullptr;
}

void drawBackdrop(const Backdrop& b, float seconds)
{
    if (b.lightingOff)
        glDisable(GL_LIGHTING);
    if (b.translateY != 0.0f)
        glTranslatef(0.0f, b.translateY, 0.0f);
    drawSkyAndGround(b.colour, b.alpha, Vec3::zero(), static_cast<int>(b.mode), seconds);
    if (b.lightingOffAfter)
        glDisable(GL_LIGHTING);
}
