#include <gtest/gtest.h>

#include "core/log.h"
#include "gfx/shader_program.h"
#include "gl/gl_context.h"

using namespace gltest;

namespace {

const char* kVertex = "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = ftransform(); }\n";
const char* kFragment =
    "uniform sampler2D picture;\n"
    "uniform float gain;\n"
    "uniform vec2 offset;\n"
    "uniform vec3 tint;\n"
    "void main() { gl_FragColor = texture2D(picture, gl_TexCoord[0].st + offset) * gain * vec4(tint, 1.0); }\n";

} // namespace

TEST(ShaderProgram, CompilesLinksAndLogsEachStageAndTheDeletion)
{
    ensureContext();
    std::string log = openScratchLog("shader-ok");
    ShaderProgram* program = new ShaderProgram;
    program->create(kVertex, kFragment, "Test Pass");
    EXPECT_NE(program->vertexShader, 0u);
    EXPECT_NE(program->fragmentShader, 0u);
    GLint linked = 0;
    glGetProgramiv(program->program, GL_LINK_STATUS, &linked);
    EXPECT_TRUE(linked);
    delete program;
    closeLog();
    std::string text = readFile(log);
    EXPECT_EQ(text.find(" -> SHADER 'Test Pass' STATUS :: "), 0u);
    EXPECT_NE(text.find(" -> SHADER 'Test Pass' STATUS :: deleted' \n"), std::string::npos);
}

TEST(ShaderProgram, ANullSourceGivesNoShaderOfThatStage)
{
    ensureContext();
    ShaderProgram program;
    EXPECT_EQ(program.compileShader(GL_VERTEX_SHADER, nullptr), 0u);
    program.create(nullptr, kFragment, "Fragment only");
    EXPECT_EQ(program.vertexShader, 0u);
    EXPECT_NE(program.fragmentShader, 0u);
}

TEST(ShaderProgram, UniformsAreSetByNameAndUnknownNamesDoNothing)
{
    ensureContext();
    ShaderProgram program;
    program.create(kVertex, kFragment, "Uniforms");
    glUseProgram(program.program);
    while (glGetError() != GL_NO_ERROR) {
    }
    program.setUniform1f("gain", 0.75f);
    program.setUniform2f("offset", 0.25f, -0.5f);
    program.setUniform3f("tint", Vec3{0.1f, 0.2f, 0.3f});
    program.setUniform1f("gian", 9.0f); // misspelt: ignored
    program.setUniform3f("tnit", Vec3{9.0f, 9.0f, 9.0f});
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    std::vector<float> values;
    for (auto [name, count] : {std::pair{"gain", 1}, {"offset", 2}, {"tint", 3}}) {
        float value[3] = {0, 0, 0};
        glGetUniformfv(program.program, glGetUniformLocation(program.program, name), value);
        values.insert(values.end(), value, value + count);
    }
    EXPECT_EQ(values, (std::vector<float>{0.75f, 0.25f, -0.5f, 0.1f, 0.2f, 0.3f}));
    glUseProgram(0);
}

TEST(ShaderProgram, SamplersSelectUnitsZeroToThreeOnly)
{
    ensureContext();
    ShaderProgram program;
    program.create(kVertex, kFragment, "Samplers");
    GLuint texture = makeTexture(1, 1, {0xFFFFFFFFu});
    glUseProgram(program.program);
    glActiveTexture(GL_TEXTURE0);

    const GLint bound = static_cast<GLint>(texture);
    // The active unit, whether it textures and what it has bound.
    auto unitState = [] {
        return std::vector<GLint>{getInteger(GL_ACTIVE_TEXTURE), glIsEnabled(GL_TEXTURE_2D),
                                  getInteger(GL_TEXTURE_BINDING_2D)};
    };
    program.bindSampler(2, texture, "picture");
    EXPECT_EQ(unitState(), (std::vector<GLint>{GL_TEXTURE2, GL_TRUE, bound}));
    GLint unit = -1;
    glGetUniformiv(program.program, glGetUniformLocation(program.program, "picture"), &unit);
    EXPECT_EQ(unit, 2);
    program.unbindSampler(2);
    EXPECT_EQ(unitState(), (std::vector<GLint>{GL_TEXTURE2, GL_FALSE, 0}));

    // Unit 5 is not selected: the active unit stays where it was.
    glActiveTexture(GL_TEXTURE1);
    program.bindSampler(5, texture, "picture");
    EXPECT_EQ(unitState()[2], bound);
    program.unbindSampler(5);
    EXPECT_EQ(getInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(getInteger(GL_TEXTURE_BINDING_2D), 0);

    // In ascending order, then descending: unit 0 is active again afterwards.
    program.bindSampler(0, texture, "picture");
    program.bindSampler(1, texture, "picture");
    program.unbindSampler(1);
    program.unbindSampler(0);
    EXPECT_EQ(getInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    glUseProgram(0);
    glDeleteTextures(1, &texture);
}

TEST(ShaderProgramDeathTest, ACompileOrLinkFailureLeavesItsStatusLineWithTheDriversMessageLastAndExits)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char *name, *fragment, *exitMessage, *logged;
    } cases[] = {
        {"Broken Pass", "void main() { gl_FragColor = vec4(1.0) }\n", "Broken Pass", "error"},
        // Compiles, but the function is never defined.
        {"Unlinked", "vec4 shade();\nvoid main() { gl_FragColor = shade(); }\n", "Unlinked' failed to link", ""},
    };
    for (const auto& c : cases) {
        std::string log = scratchPath(std::string("shader-") + c.name);
        EXPECT_EXIT(
            {
                ensureContext();
                openLog(log.c_str());
                ShaderProgram program;
                program.create(kVertex, c.fragment, c.name);
            },
            testing::ExitedWithCode(1), c.exitMessage);
        std::string text = readFile(log);
        std::string last = text.substr(text.rfind(" -> SHADER"));
        std::string status = std::string(" -> SHADER '") + c.name + "' STATUS :: ";
        EXPECT_EQ(last.find(status), 0u);
        EXPECT_NE(last.find(c.logged, status.size()), std::string::npos) << "the driver's message: " << last;
        EXPECT_GT(last.size(), status.size() + 2) << "the driver's message";
        EXPECT_EQ(last.substr(last.size() - 2), " \n");
    }
}
