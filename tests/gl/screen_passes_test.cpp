#include <gtest/gtest.h>

#include "gfx/image_manager.h"
#include "gl/gl_context.h"

using namespace gltest;

namespace {

// Plain drawing to the whole window, with texturing on and the quad lists
// built; the texture a test makes is deleted after it.
class ScreenPasses : public ::testing::Test {
protected:
    void SetUp() override
    {
        gltest::resetState();
        glEnable(GL_TEXTURE_2D);
    }
    void TearDown() override { glDeleteTextures(1, &texture); }

    GLuint texture = 0;
};

constexpr uint32_t kRed = 0xFF0000FFu, kGreen = 0xFF00FF00u, kBlue = 0xFFFF0000u, kWhite = 0xFFFFFFFFu;

bool is(const Pixel& p, uint32_t texel)
{
    return p.r == static_cast<int>(texel & 0xFF) && p.g == static_cast<int>((texel >> 8) & 0xFF) &&
           p.b == static_cast<int>((texel >> 16) & 0xFF);
}

// Checks the colour of the window at each point.
void expectColours(const std::vector<std::pair<std::pair<int, int>, uint32_t>>& points)
{
    for (auto [at, texel] : points)
        EXPECT_TRUE(is(readPixel(at.first, at.second), texel)) << at.first << ", " << at.second;
}

bool depthWrites()
{
    GLboolean on = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &on);
    return on;
}

} // namespace

TEST_F(ScreenPasses, TheQuadListsAreBuilt)
{
    for (GLuint list : images().quadList)
        EXPECT_TRUE(glIsList(list));
    // List 1 fills normalised device space under identity matrices.
    texture = makeTexture(1, 1, {kGreen});
    glCallList(images().quadList[1]);
    expectColours({{{1, 1}, kGreen}, {{638, 478}, kGreen}});
}

TEST_F(ScreenPasses, FullScreenQuadCoversTheViewportAndKeepsTheStacks)
{
    glEnable(GL_DEPTH_TEST);
    GLint projectionDepth = getInteger(GL_PROJECTION_STACK_DEPTH);
    GLint modelviewDepth = getInteger(GL_MODELVIEW_STACK_DEPTH);
    texture = makeTexture(1, 1, {kBlue});
    images().drawFullScreenQuad();
    EXPECT_EQ((std::vector<GLint>{getInteger(GL_PROJECTION_STACK_DEPTH), getInteger(GL_MODELVIEW_STACK_DEPTH),
                                  getInteger(GL_MATRIX_MODE)}),
              (std::vector<GLint>{projectionDepth, modelviewDepth, GL_MODELVIEW}));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << "depth testing stays off after the pass";
    expectColours({{{0, 0}, kBlue}, {{639, 479}, kBlue}});
}

TEST_F(ScreenPasses, ZoomOneSamplesOnlyTheCentreTexel)
{
    // 3 x 3, red in the middle only.
    texture = makeTexture(3, 3, {kBlue, kBlue, kBlue, kBlue, kRed, kBlue, kBlue, kBlue, kBlue});
    ImageManager::drawZoomed(1.0f);
    expectColours({{{0, 0}, kRed}, {{639, 0}, kRed}, {{320, 240}, kRed}, {{0, 479}, kRed}, {{639, 479}, kRed}});
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(depthWrites());

    glClear(GL_COLOR_BUFFER_BIT);
    ImageManager::drawZoomed(0.0f); // the whole texture
    expectColours({{{2, 2}, kBlue}, {{320, 240}, kRed}});
}

TEST_F(ScreenPasses, MirrorZeroShowsFourMirroredCopies)
{
    // 2 x 2, rows bottom-up: red at (0, 0), green at (1, 0), blue at (0, 1), white at (1, 1).
    texture = makeTexture(2, 2, {kRed, kGreen, kBlue, kWhite});
    ImageManager::drawMirrored(0.0f);
    // The texture's (0, 0) corner meets at the centre in all four quadrants; along
    // x the picture runs outwards both ways (green at both sides), and along y
    // (blue above and below). The 1.15 scale pushes the far edge out of view:
    // white in the outer corners.
    expectColours({{{330, 250}, kRed}, {{310, 250}, kRed}, {{310, 230}, kRed}, {{330, 230}, kRed},
                   {{600, 250}, kGreen}, {{40, 250}, kGreen}, {{40, 230}, kGreen},
                   {{330, 460}, kBlue}, {{330, 20}, kBlue}, {{0, 0}, kWhite}, {{639, 479}, kWhite}});
    EXPECT_EQ(getInteger(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST_F(ScreenPasses, StreaksWithNoLayersStillLeaveTheirState)
{
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    const float left[3] = {0.05f, 0.25f, 0.5f}, right[3] = {0.05f, 0.25f, 0.04f};
    texture = makeTexture(1, 1, {kWhite});
    ImageManager::drawStreaks(0, 0.015f, left, right, texture, 640.0f, 480.0f);
    // Blending and texturing off, depth test and writes on.
    EXPECT_EQ((std::vector<bool>{glIsEnabled(GL_BLEND) != 0, glIsEnabled(GL_TEXTURE_2D) != 0,
                                 glIsEnabled(GL_DEPTH_TEST) != 0, depthWrites()}),
              (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(getInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(getInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    expectColours({{{320, 240}, 0xFF000000u}}); // nothing drawn
}

TEST_F(ScreenPasses, StreaksGlowInTheirColoursFromLeftToRight)
{
    glDisable(GL_DEPTH_TEST);
    const float left[3] = {0.0f, 0.0f, 1.0f}, right[3] = {1.0f, 0.0f, 0.0f};
    texture = makeTexture(1, 1, {kWhite});
    ImageManager::drawStreaks(4, 0.5f, left, right, texture, 640.0f, 480.0f);
    Pixel l = readPixel(2, 240), r = readPixel(637, 240);
    EXPECT_TRUE(l.b > 100 && l.r < 10) << l.r << " " << l.b;
    EXPECT_TRUE(r.r > 100 && r.b < 10) << r.r << " " << r.b;
}
