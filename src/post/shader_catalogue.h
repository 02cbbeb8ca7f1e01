// The seven shader programs of the show: their names, their sources (embedded
// .glsl files) and the process-wide handles the scenes and the chain use.
#pragma once
#include <epoxy/gl.h>

#include <cstddef>

class ShaderProgram;

// In the order they are created and destroyed.
enum class Shader {
    DepthReader,
    GaussianBlur,
    BokehDof,
    LogoPostProcess,
    SnakeCubeBloomer,
    BumpMapping,
    SilvateLogo,
    Count
};
constexpr int kShaderCount = static_cast<int>(Shader::Count);

struct ShaderSource {
    const char* name;         // the program's log name
    const char* vertexFile;   // embedded resource names
    const char* fragmentFile;
};
extern const ShaderSource kShaderSources[kShaderCount];

// The embedded text of a source file; exits with a message when the
// executable does not carry it (a build fault, never a user's).
const char* shaderText(const char* resourceName);

// Allocates and creates one program (compiles, links and logs under its name).
void createShaderProgram(Shader which);
// The program, or nullptr before it is created.
ShaderProgram* shaderProgram(Shader which);
// Deletes and frees every program that exists, in creation order.
void destroyShaderPrograms();

// "Bump mapping" in use with the colour map on unit 0 ("colorMap"), the normal
// map on unit 1 ("alphaMap") and "reverse" set; then units 1 and 0 released
// and fixed function back.
void beginBumpMapping(GLuint colour, GLuint normals, float reverse);
void endBumpMapping();
