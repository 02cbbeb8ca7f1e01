// The seven embedded programs compile and link under Mesa, declare the inputs
// their callers set, and compute the values their callers rely on.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "post/shader_catalogue.h"

namespace {

// One window with a GL context for the whole test program.
class GlContext : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(platform::initVideo(error)) << error;
        platform::WindowSpec spec{"shader tests", 64, 64, false, 24};
        ASSERT_TRUE(platform::openWindow(spec, error)) << error;
    }
    void TearDown() override { platform::shutdown(); }
};
const auto* const kContext = ::testing::AddGlobalTestEnvironment(new GlContext);

GLuint compile(GLenum type, const char* source, std::string& log)
{
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    char text[4096] = {};
    glGetShaderInfoLog(shader, sizeof text, nullptr, text);
    log = text;
    if (!ok) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// Compiles and links with raw GL calls; fails the test with the driver's log.
GLuint link(const ShaderSource& source)
{
    std::string log;
    GLuint vs = compile(GL_VERTEX_SHADER, shaderText(source.vertexFile), log);
    EXPECT_NE(vs, 0u) << source.name << " vertex: " << log;
    GLuint fs = compile(GL_FRAGMENT_SHADER, shaderText(source.fragmentFile), log);
    EXPECT_NE(fs, 0u) << source.name << " fragment: " << log;
    if (!vs || !fs)
        return 0;
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    char text[4096] = {};
    glGetProgramInfoLog(program, sizeof text, nullptr, text);
    EXPECT_TRUE(ok) << source.name << " link: " << text;
    return ok ? program : 0;
}

const ShaderSource& source(Shader which)
{
    return kShaderSources[static_cast<int>(which)];
}

} // namespace

TEST(ShaderCatalogue, ListsTheSevenProgramsInCreationOrder)
{
    const char* expected[] = {"Depth Reader", "Gaussian Blur", "Bokeh Depth of Field (DOF)", "Logo post-process",
                              "Snake-Cube bloomer", "Bump mapping", "silvate logo"};
    for (int i = 0; i < kShaderCount; ++i)
        EXPECT_STREQ(kShaderSources[i].name, expected[i]);
}

TEST(ShaderCatalogue, EveryProgramCompilesAndLinks)
{
    for (const ShaderSource& s : kShaderSources) {
        GLuint program = link(s);
        EXPECT_NE(program, 0u) << s.name;
        glDeleteProgram(program);
    }
}

TEST(ShaderCatalogue, ProgramsDeclareTheInputsTheirCallersSet)
{
    struct Inputs {
        Shader shader;
        std::vector<const char*> uniforms;
    };
    const Inputs table[] = {
        {Shader::DepthReader, {"sceneTex", "invert"}},
        {Shader::GaussianBlur, {"fwdTex", "outline", "m_r", "m_g", "m_b", "strength"}},
        {Shader::BokehDof, {"bgl_RenderedTexture", "bgl_DepthTexture", "saturation", "godrayintensity",
                            "ambientCol", "bias", "focus", "alpha"}},
        {Shader::LogoPostProcess, {"colorMap", "aoMap", "alphaMap", "overMap", "dval", "strength"}},
        {Shader::SnakeCubeBloomer, {"bgl_RenderedTexture", "strength"}},
        {Shader::BumpMapping, {"colorMap", "alphaMap", "reverse"}},
        {Shader::SilvateLogo, {"colorMap", "alphaMap", "dval"}},
    };
    for (const Inputs& inputs : table) {
        GLuint program = link(source(inputs.shader));
        ASSERT_NE(program, 0u);
        for (const char* name : inputs.uniforms)
            EXPECT_GE(glGetUniformLocation(program, name), 0) << source(inputs.shader).name << " " << name;
        glDeleteProgram(program);
    }
}

TEST(ShaderCatalogue, ABrokenSourceIsRefusedByTheDriver)
{
    // The guard of the tests above: the driver does report a broken stage.
    std::string log;
    EXPECT_EQ(compile(GL_FRAGMENT_SHADER, "#version 110\nvoid main() { gl_FragColor = vec4(1.0) }\n", log), 0u);
    EXPECT_FALSE(log.empty());
}
