#include "app/loading_bar.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include "core/display_settings.h"
#include "platform/platform.h"

BarFill loadingBarFill(int progress, int total, float halfWidth)
{
    float p = total > 0 ? static_cast<float>(progress) * halfWidth / static_cast<float>(total) : 0.0f;
    return {-halfWidth, 2.0f * p - halfWidth};
}

int loadingBarAspect(int width, int height)
{
    return height > 0 ? width / height : 1; // 1 on every mode narrower than 2:1
}

void LoadingBar::advance(int n, const DisplaySettings& display)
{
    progress += n;
    draw(display);
}

void LoadingBar::draw(const DisplaySettings& display) const
{
    render(display);
    platform::swapBuffers();
    platform::sleepMs(1);
}

void LoadingBar::render(const DisplaySettings& display) const
{
    BarFill fill = loadingBarFill(progress, total, halfWidth);

    glClearColor(0.1f, 0.1f, 0.15f, 0.0f);
    const Viewport band = display.band();
    glViewport(band.x, band.y, band.width, band.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(70.0, loadingBarAspect(display.width(), display.height()), 0.01, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, -1.0f, -8.5f);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glEnable(GL_LINE_SMOOTH);

    // Frame.
    const float w = halfWidth + 0.08f;
    glColor3f(0.56f, 0.56f, 0.56f);
    glBegin(GL_LINE_LOOP);
        glVertex2f(-w, -0.135f);
        glVertex2f(w, -0.135f);
        glVertex2f(w, 0.135f);
        glVertex2f(-w, 0.135f);
    glEnd();

    // Trough: a black lower part, a dark grey upper part overlapping it.
    const float w2 = w - 0.01f;
    glColor3f(0.0f, 0.0f, 0.0f);
    glBegin(GL_TRIANGLE_STRIP);
        glVertex2f(w2, -0.125f);
        glVertex2f(w2, 0.0675f);
        glVertex2f(-w2, -0.125f);
        glVertex2f(-w2, 0.0675f);
    glEnd();
    glColor3f(0.2f, 0.2f, 0.2f);
    glBegin(GL_TRIANGLE_STRIP);
        glVertex2f(w2, 0.0f);
        glVertex2f(w2, 0.125f);
        glVertex2f(-w2, 0.0f);
        glVertex2f(-w2, 0.125f);
    glEnd();

    glDisable(GL_LINE_SMOOTH);

    // Fill, two tones of green.
    glColor3ub(104, 160, 30);
    glBegin(GL_TRIANGLE_STRIP);
        glVertex2f(fill.right, -0.04725f);
        glVertex2f(fill.right, 0.0f);
        glVertex2f(fill.left, -0.04725f);
        glVertex2f(fill.left, 0.0f);
    glEnd();
    glColor3ub(162, 255, 62);
    glBegin(GL_TRIANGLE_STRIP);
        glVertex2f(fill.right, 0.0f);
        glVertex2f(fill.right, 0.04725f);
        glVertex2f(fill.left, 0.0f);
        glVertex2f(fill.left, 0.04725f);
    glEnd();
}
