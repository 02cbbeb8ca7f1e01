#include <gtest/gtest.h>

#include "core/log.h"
#include "gfx/framebuffer.h"
#include "gl/gl_context.h"

using namespace gltest;

namespace {

std::string created(int width, int height)
{
    return " -> FBO STATUS :: FBO instance " + std::to_string(width) + " x " + std::to_string(height) +
           " created. \n";
}

const std::string kDestroyed = " -> FBO STATUS :: FBO instance destroyed. \n";

} // namespace

// The log lines of creation and release are pinned with the four targets below.
TEST(FrameBuffer, CreateLeavesTheColourTextureBoundAndTheTargetRendersAndReadsBack)
{
    resetState();
    FrameBuffer target;
    target.create(64, 32);
    EXPECT_NE(target.colorTexture, 0u);
    EXPECT_EQ(getInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(target.colorTexture));
    EXPECT_EQ(getInteger(GL_FRAMEBUFFER_BINDING_EXT), 0) << "the window's framebuffer stays bound";
    EXPECT_EQ(getTexParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(getTexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    glClearColor(1.0f, 0.0f, 0.0f, 1.0f); // bind clears with the current colour
    glMatrixMode(GL_PROJECTION);
    target.bind();
    EXPECT_EQ(getInteger(GL_FRAMEBUFFER_BINDING_EXT), static_cast<GLint>(target.framebuffer));
    EXPECT_EQ(getInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(viewport(), (std::vector<int>{0, 0, 64, 32}));

    // Green over the left half.
    glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
    glRectf(-1.0f, -1.0f, 0.0f, 1.0f);
    Pixel left = readPixel(10, 16), right = readPixel(50, 16);
    EXPECT_EQ((std::vector<int>{left.r, left.g, right.r, right.g}), (std::vector<int>{0, 255, 255, 0}));

    // The colour texture holds the same picture.
    FrameBuffer::unbind(windowBand());
    target.bindColorTexture();
    std::vector<uint8_t> texels(64 * 32 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[(16 * 64 + 10) * 4 + 1], 255);
    EXPECT_EQ(texels[(16 * 64 + 50) * 4 + 0], 255);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

TEST(FrameBuffer, UnbindClearsTheWindowAndRestoresTheLetterboxedViewport)
{
    resetState();
    FrameBuffer target;
    target.create(512, 512);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glRectf(-1.0f, -1.0f, 1.0f, 1.0f); // drawn to the window before the pass...
    EXPECT_EQ(readPixel(320, 240).r, 255);

    target.bind();
    FrameBuffer::unbind(windowBand());
    EXPECT_EQ(getInteger(GL_FRAMEBUFFER_BINDING_EXT), 0);
    EXPECT_EQ(viewport(), (std::vector<int>{0, 40, 640, 400}));
    // ...is gone: unbind clears the window.
    Pixel p = readPixel(320, 240);
    EXPECT_EQ(p.r, 0);
    EXPECT_EQ(p.b, 255);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

TEST(FrameBuffer, TheFourTargetsAreMadeAndDestroyedInTheirOrders)
{
    ensureContext();
    allocateFrameBuffers();
    ASSERT_NE(sceneTarget(), nullptr);
    ASSERT_NE(spareTarget(), nullptr);
    std::string log = openScratchLog("fbo-four");
    createFrameBuffers(320, 200);
    EXPECT_EQ((std::vector<int>{sceneTarget()->width, depthTarget()->width, blurTarget()->height,
                                spareTarget()->height}),
              (std::vector<int>{320, 512, 200, 512}));
    GLuint first = sceneTarget()->framebuffer, fourth = spareTarget()->framebuffer;
    destroyFrameBuffers();
    EXPECT_EQ(sceneTarget(), nullptr);
    EXPECT_FALSE(glIsFramebufferEXT(first));
    EXPECT_FALSE(glIsFramebufferEXT(fourth));
    closeLog();
    EXPECT_EQ(readFile(log), created(320, 200) + created(512, 512) + created(320, 200) + created(512, 512) +
                                 kDestroyed + kDestroyed + kDestroyed + kDestroyed);
}

TEST(FrameBufferDeathTest, AnIncompleteFramebufferEndsTheProgramAfterItsLine)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::string log = scratchPath("fbo-incomplete");
    EXPECT_EXIT(
        {
            ensureContext();
            openLog(log.c_str());
            FrameBuffer target;
            target.create(0, 0); // attachments without pixels are never complete
        },
        testing::ExitedWithCode(1), "cannot complete a framebuffer");
    EXPECT_EQ(lastLine(readFile(log)), " -> FBO STATUS :: an unexpected error occured.");
}
