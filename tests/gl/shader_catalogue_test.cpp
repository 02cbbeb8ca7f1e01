// The seven embedded programs compile and link under Mesa, declare the inputs
// their callers set, and compute the values their callers rely on.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <vector>

#include "gl/gl_context.h"
#include "post/shader_catalogue.h"

namespace {

// Compiles and links with raw GL calls; fails the test with the driver's log.
GLuint link(const ShaderSource& source)
{
    GLuint program = glCreateProgram();
    GLint ok = 0;
    char log[4096] = {};
    for (auto [type, file] :
         {std::pair{GL_VERTEX_SHADER, source.vertexFile}, {GL_FRAGMENT_SHADER, source.fragmentFile}}) {
        GLuint shader = glCreateShader(type);
        const char* text = shaderText(file);
        glShaderSource(shader, 1, &text, nullptr);
        glCompileShader(shader);
        glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        EXPECT_TRUE(ok) << source.name << " " << file << ": " << log;
        glAttachShader(program, shader);
        glDeleteShader(shader); // freed with the program
    }
    glLinkProgram(program);
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    glGetProgramInfoLog(program, sizeof log, nullptr, log);
    EXPECT_TRUE(ok) << source.name << " link: " << log;
    return ok ? program : 0;
}

const ShaderSource& source(Shader which)
{
    return kShaderSources[static_cast<int>(which)];
}

} // namespace

TEST(ShaderCatalogue, EveryProgramLinksAndDeclaresTheInputsItsCallersSet)
{
    gltest::ensureContext();
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
    ASSERT_EQ(std::size(table), static_cast<size_t>(kShaderCount));
    for (const Inputs& inputs : table) {
        GLuint program = link(source(inputs.shader));
        ASSERT_NE(program, 0u) << source(inputs.shader).name;
        for (const char* name : inputs.uniforms)
            EXPECT_GE(glGetUniformLocation(program, name), 0) << source(inputs.shader).name << " " << name;
        glDeleteProgram(program);
    }
}

// --- What the programs compute, read back from a flat-coloured picture. ---

namespace {

GLuint flatTexture(float r, float g, float b)
{
    auto byte = [](float v) { return static_cast<uint32_t>(v * 255.0f + 0.5f); };
    return gltest::makeTexture(4, 4, std::vector<uint32_t>(16, byte(r) | byte(g) << 8 | byte(b) << 16 | 0xFF000000u));
}

// A program of the catalogue over the whole 64 x 64 window, reading `scene`
// on unit 0 (and `depth` on unit 1 when given).
class ProgramRun {
public:
    explicit ProgramRun(Shader which) : program_(link(source(which))) { glUseProgram(program_); }
    ~ProgramRun()
    {
        glUseProgram(0);
        glDeleteProgram(program_);
    }
    void set(const char* name, float v) { glUniform1f(glGetUniformLocation(program_, name), v); }
    void set(const char* n, float a, float b, float c) { glUniform3f(glGetUniformLocation(program_, n), a, b, c); }
    void sampler(const char* name, int unit) { glUniform1i(glGetUniformLocation(program_, name), unit); }

    // Draws with the given textures; returns the pixel at (x, y) as 0..1.
    std::vector<float> draw(GLuint scene, GLuint depth, int x, int y)
    {
        glViewport(0, 0, 64, 64);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f); // red: a fragment that was discarded
        glClear(GL_COLOR_BUFFER_BIT);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, depth);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, scene);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glBegin(GL_QUADS);
            glTexCoord2f(0.0f, 0.0f); glVertex2f(-1.0f, -1.0f);
            glTexCoord2f(1.0f, 0.0f); glVertex2f(1.0f, -1.0f);
            glTexCoord2f(1.0f, 1.0f); glVertex2f(1.0f, 1.0f);
            glTexCoord2f(0.0f, 1.0f); glVertex2f(-1.0f, 1.0f);
        glEnd();
        uint8_t rgb[3] = {};
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        return {rgb[0] / 255.0f, rgb[1] / 255.0f, rgb[2] / 255.0f};
    }

private:
    GLuint program_;
};

constexpr float kByte = 2.5f / 255.0f; // read-back tolerance

} // namespace

TEST(ShaderValues, TheDepthReaderGivesFortyPercentOfTheInvertedGrey)
{
    gltest::ensureContext();
    GLuint black = flatTexture(0.0f, 0.0f, 0.0f);
    GLuint grey = flatTexture(0.6f, 0.6f, 0.6f);
    ProgramRun run(Shader::DepthReader);
    run.set("invert", 1.0f);
    EXPECT_NEAR(run.draw(black, 0, 10, 10)[0], 0.40f, kByte); // a black scene is far away
    float g = 0.6f / 3.0f * (0.5125f + 0.7154f + 0.7221f);
    std::vector<float> inverted = run.draw(grey, 0, 10, 10);
    EXPECT_NEAR(inverted[0], 0.40f * (1.0f - g), kByte);
    EXPECT_NEAR(inverted[2], inverted[0], kByte);
    run.set("invert", 0.0f);
    EXPECT_NEAR(run.draw(grey, 0, 10, 10)[1], 0.40f * g, kByte);
    GLuint textures[2] = {black, grey};
    glDeleteTextures(2, textures);
}

TEST(ShaderValues, WithoutBiasTheFinalPassReturnsTwentyOneTwentySecondsOfTheGradedColour)
{
    gltest::ensureContext();
    GLuint scene = flatTexture(0.2f, 0.2f, 0.2f);
    GLuint depth = flatTexture(0.5f, 0.5f, 0.5f);
    ProgramRun run(Shader::BokehDof);
    run.sampler("bgl_RenderedTexture", 0);
    run.sampler("bgl_DepthTexture", 1);
    for (auto [name, value] : {std::pair{"saturation", 1.0f}, {"godrayintensity", 0.0f}, {"bias", 0.0f},
                               {"focus", 0.72f}, {"alpha", 1.0f}})
        run.set(name, value);
    run.set("ambientCol", 1.0f, 1.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const float base = 0.2f * 21.0f / 22.0f;
    // Columns 0, 1 and 2 are masked (1.2, 0.9, 0.9), (0.9, 0.9, 1.2) and (0.9, 1.2, 0.9).
    EXPECT_NEAR(run.draw(scene, depth, 0, 5)[1], base * 0.9f, kByte);
    for (int column = 0; column < 3; ++column)
        EXPECT_NEAR(run.draw(scene, depth, column, 5)[(std::vector<int>{0, 2, 1})[column]], base * 1.2f, kByte)
            << column;
    // Grading multiplies by ambientCol; saturation 0 leaves the weighted grey.
    run.set("ambientCol", 0.5f, 1.0f, 1.0f);
    EXPECT_NEAR(run.draw(scene, depth, 0, 5)[0], base * 1.2f * 0.5f, kByte);
    GLuint warm = flatTexture(0.4f, 0.2f, 0.0f);
    run.set("ambientCol", 1.0f, 1.0f, 1.0f);
    run.set("saturation", 0.0f);
    float grey = (0.4f * 0.572125f + 0.2f * 0.67154f) * 21.0f / 22.0f;
    std::vector<float> greyed = run.draw(warm, depth, 3, 5); // column 3 is masked like column 0
    EXPECT_NEAR(greyed[0], grey * 1.2f, kByte);
    EXPECT_NEAR(greyed[2], grey * 0.9f, kByte);
    GLuint textures[3] = {scene, depth, warm};
    glDeleteTextures(3, textures);
}

TEST(ShaderValues, TheLogoProgramsRevealOnlyWhereTheAlphaMapIsBelowTheThreshold)
{
    gltest::ensureContext();
    GLuint colour = flatTexture(0.4f, 0.4f, 0.4f);
    GLuint alphaMap = flatTexture(0.5f, 0.5f, 0.5f);
    ProgramRun run(Shader::SilvateLogo);
    run.sampler("colorMap", 0);
    run.sampler("alphaMap", 1);
    glColor4f(0.25f, 0.25f, 0.25f, 1.0f);
    run.set("dval", 0.0f);
    EXPECT_EQ(run.draw(colour, alphaMap, 8, 8), (std::vector<float>{1, 0, 0})); // the red clear colour: discarded
    run.set("dval", 1.0f);
    // A grey map stays grey under the slight desaturation; lit as colour * map + colour.
    std::vector<float> shown = run.draw(colour, alphaMap, 8, 8);
    EXPECT_NEAR(shown[1], 0.25f * 0.4f + 0.25f, 0.02f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    GLuint textures[2] = {colour, alphaMap};
    glDeleteTextures(2, textures);
}
