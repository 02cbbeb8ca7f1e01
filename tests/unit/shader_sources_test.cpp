#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "post/shader_catalogue.h"

TEST(ShaderSources, EveryProgramsSourcesTravelInsideTheExecutable)
{
    for (const ShaderSource& source : kShaderSources) {
        EXPECT_NE(std::strstr(shaderText(source.vertexFile), "void main()"), nullptr) << source.vertexFile;
        EXPECT_NE(std::strstr(shaderText(source.fragmentFile), "#version 110"), nullptr) << source.fragmentFile;
    }
}

TEST(ShaderSources, OnlyTheBumpProgramHasItsOwnVertexStage)
{
    for (int i = 0; i < kShaderCount; ++i) {
        bool bump = (static_cast<Shader>(i) == Shader::BumpMapping);
        EXPECT_EQ(std::string(kShaderSources[i].vertexFile) == "shaders/common.vert.glsl", !bump)
            << kShaderSources[i].name;
    }
}

TEST(ShaderSourcesDeathTest, AMissingSourceEndsTheProgramWithExitCodeOne)
{
    EXPECT_EXIT(shaderText("shaders/missing.frag.glsl"), ::testing::ExitedWithCode(1), "missing.frag.glsl");
}
