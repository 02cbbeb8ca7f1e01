// The image manager's screen-space passes: each sets the GL state it needs
// right before drawing and leaves it as the callers expect.
#include "gfx/image_manager.h"

#include <GL/glu.h>

void ImageManager::beginOrtho(float width, float height)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
}

void ImageManager::endOrtho()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix(); // depth testing stays off
}

void ImageManager::drawFullScreenQuad()
{
    beginOrtho(1.0f, 1.0f);
    glCallList(quadList[0]);
    endOrtho();
}

void ImageManager::drawOverlay()
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, overlayTexture());
    drawFullScreenQuad(); // texturing and blending stay on
}

namespace {

// A 2D projection over the given square, identity model-view, both pushed.
void pushSquareOrtho(float low, float high)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(low, high, low, high);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

// One quad from the origin to (sx, sy), the texture's (0, 0) at the origin.
void mirroredQuadrant(float sx, float sy)
{
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(sx, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(sx, sy);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(0.0f, sy);
}

} // namespace

void ImageManager::drawZoomed(float amount)
{
    pushSquareOrtho(0.0f, 1.0f);
    glDepthMask(GL_FALSE);
    float e = amount / 2.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(e, e);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(1.0f - e, e);
    glVertex2f(1.0f, 0.0f);
    glTexCoord2f(1.0f - e, 1.0f - e);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(e, 1.0f - e);
    glVertex2f(0.0f, 1.0f);
    glEnd();
    glDepthMask(GL_TRUE);
    endOrtho();
}

void ImageManager::drawMirrored(float angleDegrees)
{
    pushSquareOrtho(-1.0f, 1.0f);
    glDepthMask(GL_FALSE);
    glRotatef(angleDegrees, 0.0f, 0.0f, 1.0f);
    glScalef(1.15f, 1.15f, 1.0f);
    glBegin(GL_QUADS);
    mirroredQuadrant(1.0f, 1.0f);
    mirroredQuadrant(-1.0f, 1.0f);
    mirroredQuadrant(-1.0f, -1.0f);
    mirroredQuadrant(1.0f, -1.0f);
    glEnd();
    glDepthMask(GL_TRUE);
    endOrtho();
}

void ImageManager::drawStreaks(int layers, float alpha, const float (&left)[3], const float (&right)[3],
                               GLuint texture, float w, float h)
{
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR); // a screen blend
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture);

    // Window pixels, y downwards.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, w, h, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // Each layer is fainter and inset a further 0.0025 on every side.
    for (int k = 0; k < layers; ++k) {
        float a = alpha - k * (alpha / layers);
        float s = 0.0025f * k;
        glBegin(GL_QUADS);
        glColor4f(left[0], left[1], left[2], a);
        glTexCoord2f(s, 1.0f - s);
        glVertex2f(0.0f, 0.0f);
        glTexCoord2f(s, s);
        glVertex2f(0.0f, h);
        glColor4f(right[0], right[1], right[2], a);
        glTexCoord2f(1.0f - s, s);
        glVertex2f(w, h);
        glTexCoord2f(1.0f - s, 1.0f - s);
        glVertex2f(w, 0.0f);
        glEnd();
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, 0);
    glFlush();
}
