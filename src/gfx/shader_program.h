// One linked GLSL program of a vertex and a fragment shader, with its uniforms
// set by name and its samplers bound to numbered texture units.
#pragma once
#include <epoxy/gl.h>

#include "core/vec3.h"

class ShaderProgram {
public:
    // Compiles both sources (a null source gives no shader of that stage) and
    // links them. A compile or link failure ends the program.
    void create(const char* vertexSource, const char* fragmentSource, const char* name);
    // A compiled shader object, 0 for a null source; writes the status line.
    GLuint compileShader(GLenum type, const char* source);

    // Uniforms are looked up by name on every call and applied to the current
    // program: the caller makes this program current first. Unknown names do nothing.
    void setUniform1f(const char* uniform, float value);
    void setUniform2f(const char* uniform, float x, float y);
    void setUniform3f(const char* uniform, const Vec3& value);
    // Units 0 to 3 become active (others leave the active unit); enables
    // texturing there, points the sampler at the unit and binds the texture.
    void bindSampler(int unit, GLuint texture, const char* uniform);
    // Selects the unit as bindSampler does, unbinds its texture, disables texturing.
    void unbindSampler(int unit);

    // Deletes the shaders and the program and writes the deletion line.
    ~ShaderProgram();

    GLuint vertexShader = 0;
    GLuint fragmentShader = 0;
    GLuint program = 0;
    const char* name = "";
};
