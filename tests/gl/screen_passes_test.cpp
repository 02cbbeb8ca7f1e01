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

constexpr uint32_t kBlue = 0xFFFF0000u, kWhite = 0xFFFFFFFFu;

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
