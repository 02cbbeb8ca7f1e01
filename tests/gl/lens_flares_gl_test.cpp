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
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(getInteger(GL_BLEND_SRC), GL_SRC_COLOR);
    EXPECT_EQ(getInteger(GL_BLEND_DST), GL_ONE);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(getInteger(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDisable(GL_BLEND);
}
