// The chain a window's scene goes through, and the sky-and-ground backdrop,
// read back from the window: the passes sample what they must, the final
// pass adds onto a cleared window, and the backdrop's modes pick their dome.
#include <gtest/gtest.h>

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "effects/sky_and_ground.h"
#include "gfx/framebuffer.h"
#include "gfx/image_manager.h"
#include "gfx/quadric.h"
#include "gl/gl_context.h"
#include "post/post_chain.h"
#include "post/shader_catalogue.h"

using namespace gltest;

namespace {

// The three targets at the test window's size and the chain's programs.
class PostChain : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetState();
        allocateFrameBuffers();
        createFrameBuffers(640, 480);
        for (Shader s : {Shader::DepthReader, Shader::GaussianBlur, Shader::BokehDof})
            if (!shaderProgram(s))
                createShaderProgram(s);
    }
    void TearDown() override
    {
        destroyShaderPrograms();
        destroyFrameBuffers();
        resetState();
    }
};

// A scene that is one flat grey, level v.
std::function<void()> flatScene(float v)
{
    return [v] {
        glClearColor(v, v, v, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    };
}

// Plain quad, no blur spread, no caustic, neutral grading.
FinalValues neutralFinal(float alpha)
{
    FinalValues f;
    f.saturation = 1.0f;
    f.godrayintensity = 0.0f;
    f.bias = 0.0f;
    f.focus = 0.72f;
    f.alpha = alpha;
    return f;
}

// The brightening of the blur: seven taps per axis, weights scaled by 0.92.
const float kBlurGain = 0.92f * (3.0f * 0.2270270270f + 2.0f * 0.3162162162f + 2.0f * 0.0702702703f);

} // namespace

TEST_F(PostChain, AFlatSceneReachesTheWindowBlurredGradedAndFadedAndTheOutlineKeepsItsShare)
{
    BlurValues blur; // outline 0
    runPostChain(images(), windowBand(), flatScene(0.3f), blur, neutralFinal(0.5f));
    // Window column 300 has the red-heavy mask (1.2, 0.9, 0.9); the final
    // pass adds alpha times its 21/22 of the blurred scene onto black.
    float expected = 0.5f * std::round(0.3f * 255.0f) / 255.0f * kBlurGain * 21.0f / 22.0f;
    Pixel p = readPixel(300, 240);
    EXPECT_NEAR(p.r, expected * 1.2f * 255.0f, 3.0);
    EXPECT_NEAR(p.g, expected * 0.9f * 255.0f, 3.0);
    EXPECT_NEAR(p.b, expected * 0.9f * 255.0f, 3.0);

    // With the outline, a flat scene has no edge: half of the blur is left at alpha 1.
    blur.outline = 1.0f;
    blur.tint = {1.0f, 0.0f, 0.0f};
    blur.strength[0] = 0.5f;
    blur.strength[1] = 0.5f;
    runPostChain(images(), windowBand(), flatScene(0.3f), blur, neutralFinal(1.0f));
    p = readPixel(301, 240); // column mask (0.9, 0.9, 1.2)
    EXPECT_NEAR(p.b, expected * 1.2f * 255.0f, 3.0);
    EXPECT_NEAR(p.r, expected * 0.9f * 255.0f, 3.0);
}

TEST_F(PostChain, ItLeavesUnitZeroActiveUntexturedAndNoProgramInUse)
{
    BlurValues blur;
    FinalValues f = neutralFinal(1.0f);
    f.quad = FinalQuad::Zoom;
    f.amount = 0.5f;
    runPostChain(images(), windowBand(), flatScene(0.2f), blur, f);
    // Active unit, program, then texturing and bound texture on units 0 and 1.
    std::vector<GLint> state = {getInteger(GL_ACTIVE_TEXTURE), getInteger(GL_CURRENT_PROGRAM),
                                glIsEnabled(GL_TEXTURE_2D), getInteger(GL_TEXTURE_BINDING_2D)};
    glActiveTexture(GL_TEXTURE1);
    state.insert(state.end(), {glIsEnabled(GL_TEXTURE_2D), getInteger(GL_TEXTURE_BINDING_2D)});
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(state, (std::vector<GLint>{GL_TEXTURE0, 0, GL_FALSE, 0, GL_FALSE, 0}));
    // Overlays drawn next still blend additively, onto the window.
    EXPECT_EQ((std::vector<GLint>{glIsEnabled(GL_BLEND), getInteger(GL_BLEND_SRC), getInteger(GL_BLEND_DST),
                                  getInteger(GL_FRAMEBUFFER_BINDING_EXT)}),
              (std::vector<GLint>{GL_TRUE, GL_SRC_ALPHA, GL_ONE, 0}));
}

// --- The backdrop ---

namespace {

// The sum of every channel of the band, after the backdrop in a mode.
double backdropLevel(int mode)
{
    resetState();
    glMatrixMode(GL_PROJECTION);
    gluPerspective(76.0, 640.0 / 480.0, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    drawSkyAndGround({1.0f, 1.0f, 1.0f}, 1.0f, Vec3::zero(), mode, 0.0f);
    std::vector<uint8_t> pixels(640 * 480 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    double sum = 0.0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        sum += pixels[i] + pixels[i + 1] + pixels[i + 2];
    return sum;
}

} // namespace

TEST(SkyAndGround, EachModePicksItsDomeAndOnlyTheCloudsAddTheFarGround)
{
    resetState();
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(VELMORA_DATA_DIR).parent_path());
    if (!sharedQuadric())
        createQuadric();
    setupSkyAndGround(images());
    std::filesystem::current_path(previous);
    ASSERT_NE(farGround(), nullptr);
    GLint stack = getInteger(GL_MODELVIEW_STACK_DEPTH);

    double skyA = backdropLevel(0);
    // What the routine leaves on: additive blending, texturing, depth test; fog off; the stack as it was.
    EXPECT_EQ((std::vector<GLint>{glIsEnabled(GL_BLEND), getInteger(GL_BLEND_DST), glIsEnabled(GL_TEXTURE_2D),
                                  glIsEnabled(GL_DEPTH_TEST), glIsEnabled(GL_FOG),
                                  getInteger(GL_MODELVIEW_STACK_DEPTH)}),
              (std::vector<GLint>{GL_TRUE, GL_ONE, GL_TRUE, GL_TRUE, GL_FALSE, stack}));

    double clouds = backdropLevel(1);
    double roots = backdropLevel(2);
    double skyB = backdropLevel(3);
    EXPECT_GT(skyA, 0.0);
    EXPECT_GT(clouds, skyA) << "the far ground adds onto sky A";
    EXPECT_NE(skyB, skyA);
    EXPECT_NE(roots, skyA);
    EXPECT_NE(roots, skyB);
    EXPECT_EQ(backdropLevel(7), skyA) << "a mode outside 0-3 draws as mode 0";
    EXPECT_EQ(backdropLevel(-1), skyA);

    releaseSkyAndGround();
    EXPECT_EQ(farGround(), nullptr);
    resetState();
}
