// Stand-in declarations of what other parts of the program provide (images,
// framebuffers, shader programs, sound, text, the scenes). Removed when those
// parts are joined; nothing here is this module's own.
#pragma once
#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cstdint>

#include "gfx/vec3.h"

// Sound.
class SoundManager {
public:
    int play(const char* fileName, bool loop);
    int32_t time();
};
SoundManager& soundManager();

// Images and the screen passes.
class ImageManager {
public:
    GLuint loadImage(const char* path, bool mipmapped, bool clampToEdge);
    GLuint loadBitmapResource(uint8_t id);
    void bind(GLuint texture);
    void buildQuadLists();
    GLuint quadList[4] = {0, 0, 0, 0};
    int width = 0, height = 0;
    void beginOrtho(float width, float height);
    void endOrtho();
    void drawFullScreenQuad();
    void drawOverlay();
    void drawZoomed(float amount);
    void drawMirrored(float angleDegrees);
    void drawStreaks(int layers, float alpha, const float (&left)[3], const float (&right)[3], GLuint texture);
};
ImageManager& imageManager();
void loadOverlayTexture();

// Framebuffers.
class FrameBuffer {
public:
    ~FrameBuffer();
    void create(int32_t width, int32_t height);
    void bind();
    static void unbind();
    void bindColorTexture();
    GLuint colorTexture = 0;
    int32_t width = 0, height = 0;

private:
    GLuint fbo_ = 0, depth_ = 0;
};

// Shader programs.
class ShaderProgram {
public:
    ~ShaderProgram();
    void create(const char* vertexSource, const char* fragmentSource, const char* name);
    GLuint compileShader(GLenum type, const char* source);
    void setUniform1f(const char* name, float value);
    void setUniform2f(const char* name, float a, float b);
    void setUniform3f(const char* name, const Vec3& value);
    void bindSampler(int unit, GLuint texture, const char* name);
    void unbindSampler(int unit);
    GLuint program = 0;
};

// Procedural textures and the shared quadric.
struct ProceduralTextures {
    GLuint circle, flare, bigflare, blueflare, noise, clouds, surround, mask;
};
void createProceduralTextures();
const ProceduralTextures& proceduralTextures();
void createQuadric();
GLUquadric* sharedQuadric();

// Bitmap text.
void drawText(const Vec3& position, float alpha, const char* text);
void drawDecodingText(const Vec3& position, float time, float start, float end, float alpha, const char* text);
GLuint fontTexture();

// Set-up of the scenes.
void setupLogoScene();
void buildTerrainGrid();
void setupBeast();
void setupMoonScene();
void setupRoots();
void setupStairway();
void setupOpeningText();

// The scenes and the overlays drawn by the frame sequencer.
void drawOpeningText(float t, int shot);
void drawMistScene(float r, int mode);
void drawLairScene(float r);
void drawBeastScene(float r);
void drawMoonScene(float p);
void drawIterationsScene(float r);
void drawRootsScene(float r);
void drawBranchScene(float t, int shot);
void drawGreetingsScene(float r, int mode);
void drawLensFlares(float t, int variant);
void drawCredits(float t, int page);
