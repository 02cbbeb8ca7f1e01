// The loading bar as it reaches the screen: the two-tone fill ends where the
// step count puts it, inside the dark trough, over the blue-grey background.
#include <gtest/gtest.h>

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cstdlib>

#include "app/loading_bar.h"
#include "core/display_settings.h"
#include "gl/gl_context.h"

namespace {

using gltest::Pixel;
using gltest::readPixel;

// Where a point of the bar's model lands in window pixels.
void project(float x, float y, double& winX, double& winY)
{
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    double winZ = 0.0;
    gluProject(x, y, 0.0, model, projection, viewport, &winX, &winY, &winZ);
}

bool isBrightGreen(const Pixel& p)
{
    return p.g > 200 && p.r > 120 && p.r < 200 && p.b < 100;
}

// The rightmost bright-green pixel on row y, or -1.
int fillEnd(int y)
{
    int last = -1;
    for (int x = 0; x < 320; ++x)
        if (isBrightGreen(readPixel(x, y)))
            last = x;
    return last;
}

// Draws the bar after progress of 22 steps on a 320 x 200 mode.
void render(int progress)
{
    DisplaySettings display;
    display.modes = {{320, 200, 32, 0}};
    display.aspectValue = 2;
    LoadingBar bar;
    bar.setTotal(22);
    bar.progress = progress;
    bar.render(display);
}

class LoadingBarDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        gltest::resetState(); // whatever an earlier test left bound, the bar draws to the window
    }
};

} // namespace

TEST_F(LoadingBarDrawing, AfterSevenStepsTheFillEndsWhereTheStepCountPutsIt)
{
    render(7);
    double endX = 0.0, midY = 0.0;
    project(loadingBarFill(7, 22, 2.05f).right, 0.02f, endX, midY);
    int y = static_cast<int>(midY);
    EXPECT_NEAR(fillEnd(y), endX, 2.0);
    // Beyond the fill lies the grey upper half of the trough.
    Pixel trough = readPixel(static_cast<int>(endX) + 10, y), background = readPixel(5, 195); // above the frame
    EXPECT_TRUE(std::abs(trough.r - 51) <= 3 && std::abs(trough.b - 51) <= 3) << trough.r << " " << trough.b;
    EXPECT_TRUE(std::abs(background.r - 26) <= 2 && std::abs(background.b - 38) <= 2)
        << background.r << " " << background.b;
}

TEST_F(LoadingBarDrawing, TheFullBarIsSymmetricAboutTheScreensCentre)
{
    render(22);
    // 320 / 200 is 1 in integer division: the projection does not stretch x.
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[0], projection[5], 1e-6);
    double leftX = 0.0, rightX = 0.0, y = 0.0;
    project(-2.05f, 0.02f, leftX, y);
    project(2.05f, 0.02f, rightX, y);
    EXPECT_NEAR(fillEnd(static_cast<int>(y)), rightX, 2.0);
    EXPECT_NEAR(leftX + rightX, 320.0, 1.0);
    // The lower half of the fill is the darker green.
    double lowX = 0.0, lowY = 0.0;
    project(0.0f, -0.03f, lowX, lowY);
    Pixel lower = readPixel(static_cast<int>(lowX), static_cast<int>(lowY));
    EXPECT_NEAR(lower.r, 104, 3);
    EXPECT_NEAR(lower.g, 160, 3);
}

TEST_F(LoadingBarDrawing, TheGreyFrameSurroundsTheTroughAndSmoothingEndsBeforeTheFill)
{
    render(11);
    for (GLenum capability : {GL_LINE_SMOOTH, GL_BLEND, GL_TEXTURE_2D, GL_LIGHTING})
        EXPECT_FALSE(glIsEnabled(capability)) << capability;
    // The frame's top and bottom lines run at y = +-0.135, grey 0.56.
    for (float edge : {0.135f, -0.135f}) {
        double x = 0.0, y = 0.0;
        project(1.0f, edge, x, y);
        bool grey = false;
        for (int dy = -2; dy <= 2; ++dy) {
            Pixel p = readPixel(static_cast<int>(x), static_cast<int>(y) + dy);
            grey = grey || (std::abs(p.r - 143) <= 4 && p.r == p.g && p.g == p.b);
        }
        EXPECT_TRUE(grey) << "no frame line at y = " << edge;
    }
    // Inside the trough's lower half, right of the fill: black.
    double x = 0.0, y = 0.0;
    project(1.5f, -0.1f, x, y);
    Pixel slot = readPixel(static_cast<int>(x), static_cast<int>(y));
    EXPECT_EQ(slot.r + slot.g + slot.b, 0);
}
