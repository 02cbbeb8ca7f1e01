#include "post/shader_catalogue.h"

#include <cstdio>
#include <string>

#include "core/embedded.h"
#include "core/log.h"
#include "gfx/shader_program.h"

const ShaderSource kShaderSources[kShaderCount] = {
    {"Depth Reader", "shaders/common.vert.glsl", "shaders/depth_reader.frag.glsl"},
    {"Gaussian Blur", "shaders/common.vert.glsl", "shaders/gaussian_blur.frag.glsl"},
    {"Bokeh Depth of Field (DOF)", "shaders/common.vert.glsl", "shaders/bokeh_dof.frag.glsl"},
    {"Logo post-process", "shaders/common.vert.glsl", "shaders/logo_post.frag.glsl"},
    {"Snake-Cube bloomer", "shaders/common.vert.glsl", "shaders/bloomer.frag.glsl"},
    {"Bump mapping", "shaders/bump.vert.glsl", "shaders/bump.frag.glsl"},
    {"silvate logo", "shaders/common.vert.glsl", "shaders/silvate_logo.frag.glsl"},
};

namespace {

struct {
    ShaderProgram* programs[kShaderCount] = {};
} state;

} // namespace

const char* shaderText(const char* resourceName)
{
    const EmbeddedFile* file = embeddedResource(resourceName);
    if (!file) {
        std::string cause = std::string("the executable carries no shader source '") + resourceName + "'";
        failAndExit(cause.c_str());
    }
    return reinterpret_cast<const char*>(file->data);
}

void createShaderProgram(Shader which)
{
    const ShaderSource& source = kShaderSources[static_cast<int>(which)];
    ShaderProgram* program = new ShaderProgram();
    program->create(shaderText(source.vertexFile), shaderText(source.fragmentFile), source.name);
    state.programs[static_cast<int>(which)] = program;
}

ShaderProgram* shaderProgram(Shader which)
{
    return state.programs[static_cast<int>(which)];
}

void destroyShaderPrograms()
{
    for (ShaderProgram*& program : state.programs) {
        delete program;
        program = nullptr;
    }
}

void beginBumpMapping(GLuint colour, GLuint normals, float reverse)
{
    ShaderProgram& bump = *shaderProgram(Shader::BumpMapping);
    glUseProgram(bump.program);
    bump.bindSampler(0, colour, "colorMap");
    bump.bindSampler(1, normals, "alphaMap");
    bump.setUniform1f("reverse", reverse);
}

void endBumpMapping()
{
    ShaderProgram& bump = *shaderProgram(Shader::BumpMapping);
    bump.unbindSampler(1);
    bump.unbindSampler(0);
    glUseProgram(0);
}
