#include <gtest/gtest.h>

#include "post/shader_catalogue.h"

// That every catalogue entry is carried and compiles is checked by the reference capture.
TEST(ShaderSourcesDeathTest, AMissingSourceEndsTheProgramWithExitCodeOne)
{
    EXPECT_EXIT(shaderText("shaders/missing.frag.glsl"), ::testing::ExitedWithCode(1), "missing.frag.glsl");
}
