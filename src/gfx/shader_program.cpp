#include "gfx/shader_program.h"

#include <string>

#include "core/log.h"

namespace {

// Units 0 to 3 are selected; any other number keeps the active unit.
void selectUnit(int unit)
{
    if (unit >= 0 && unit <= 3)
        glActiveTexture(GL_TEXTURE0 + unit);
}

[[noreturn]] void failShader(const char* name, const char* what)
{
    std::string cause = std::string("the shader program '") + name + "' " + what;
    failAndExit(cause.c_str());
}

} // namespace

void ShaderProgram::create(const char* vertexSource, const char* fragmentSource, const char* programName)
{
    name = programName;
    vertexShader = compileShader(GL_VERTEX_SHADER, vertexSource);
    fragmentShader = compileShader(GL_FRAGMENT_SHADER, fragmentSource);
    program = glCreateProgram();
    if (vertexShader != 0)
        glAttachShader(program, vertexShader);
    if (fragmentShader != 0)
        glAttachShader(program, fragmentShader);
    glLinkProgram(program);

    // A program that does not link would draw nothing useful: it ends start-up.
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        char info[1024] = "";
        glGetProgramInfoLog(program, sizeof info, nullptr, info);
        logWrite(" -> SHADER '%s' STATUS :: %s \n", name, info);
        failShader(name, "failed to link");
    }
}

GLuint ShaderProgram::compileShader(GLenum type, const char* source)
{
    GLuint shader = glCreateShader(type);
    if (!source) {
        glDeleteShader(shader);
        return 0;
    }
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    char info[1024] = "";
    glGetShaderInfoLog(shader, sizeof info, nullptr, info);
    logWrite(" -> SHADER '%s' STATUS :: %s \n", name, info);
    if (!compiled)
        failShader(name, type == GL_VERTEX_SHADER ? "has a vertex shader that does not compile"
                                                  : "has a fragment shader that does not compile");
    return shader;
}

void ShaderProgram::setUniform1f(const char* uniform, float value)
{
    glUniform1f(glGetUniformLocation(program, uniform), value);
}

void ShaderProgram::setUniform2f(const char* uniform, float x, float y)
{
    glUniform2f(glGetUniformLocation(program, uniform), x, y);
}

void ShaderProgram::setUniform3f(const char* uniform, const Vec3& value)
{
    glUniform3f(glGetUniformLocation(program, uniform), value.x, value.y, value.z);
}

void ShaderProgram::bindSampler(int unit, GLuint texture, const char* uniform)
{
    selectUnit(unit);
    glEnable(GL_TEXTURE_2D);
    glUniform1i(glGetUniformLocation(program, uniform), unit);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void ShaderProgram::unbindSampler(int unit)
{
    selectUnit(unit);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
}

ShaderProgram::~ShaderProgram()
{
    if (vertexShader != 0)
        glDeleteShader(vertexShader);
    if (fragmentShader != 0)
        glDeleteShader(fragmentShader);
    if (program != 0)
        glDeleteProgram(program);
    logWrite(" -> SHADER '%s' STATUS :: deleted' \n", name);
}
