// The state lens flares leave behind, which the overlays after them inherit.
#include <gtest/gtest.h>

#include "effects/lens_flares.h"
#include "gl/gl_context.h"

using namespace gltest;

TEST(LensFlaresGl, OutsideEveryWindowTheyDrawNothingButLeaveAdditiveColourBlending)
{
    ensureContext();
    glDisable(GL_BLEND);
    glEnable(GL_FOG);
    glEnable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    drawLensFlares(0.1f, 0);
    // Blending, its factors, fog, lighting and depth writes.
    EXPECT_EQ((std::vector<GLint>{glIsEnabled(GL_BLEND), getInteger(GL_BLEND_SRC), getInteger(GL_BLEND_DST),
                                  glIsEnabled(GL_FOG), glIsEnabled(GL_LIGHTING), getInteger(GL_DEPTH_WRITEMASK)}),
              (std::vector<GLint>{GL_TRUE, GL_SRC_COLOR, GL_ONE, GL_FALSE, GL_FALSE, GL_TRUE}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDisable(GL_BLEND);
}
