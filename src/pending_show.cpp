// Empty stand-ins for pending_show.h.
#include "pending_show.h"

int SoundManager::play(const char*, bool) { return 0; }
int32_t SoundManager::time() { return 0; }
SoundManager& soundManager() { static SoundManager manager; return manager; }

GLuint ImageManager::loadImage(const char*, bool, bool) { return 0; }
GLuint ImageManager::loadBitmapResource(uint8_t) { return 0; }
void ImageManager::bind(GLuint texture) { glBindTexture(GL_TEXTURE_2D, texture); }
void ImageManager::buildQuadLists() {}
void ImageManager::beginOrtho(float, float) {}
void ImageManager::endOrtho() {}
void ImageManager::drawFullScreenQuad() {}
void ImageManager::drawOverlay() {}
void ImageManager::drawZoomed(float) {}
void ImageManager::drawMirrored(float) {}
void ImageManager::drawStreaks(int, float, const float (&)[3], const float (&)[3], GLuint) {}
ImageManager& imageManager() { static ImageManager manager; return manager; }
void loadOverlayTexture() {}

void FrameBuffer::create(int32_t w, int32_t h) { width = w; height = h; }
void FrameBuffer::bind() {}
void FrameBuffer::unbind() {}
void FrameBuffer::bindColorTexture() {}

void ShaderProgram::create(const char*, const char*, const char*) {}
GLuint ShaderProgram::compileShader(GLenum, const char*) { return 0; }
void ShaderProgram::setUniform1f(const char*, float) {}
void ShaderProgram::setUniform2f(const char*, float, float) {}
void ShaderProgram::setUniform3f(const char*, const Vec3&) {}
void ShaderProgram::bindSampler(int, GLuint, const char*) {}
void ShaderProgram::unbindSampler(int) {}

void createProceduralTextures() {}
const ProceduralTextures& proceduralTextures() { static ProceduralTextures textures{}; return textures; }
void createQuadric() {}
GLUquadric* sharedQuadric() { static GLUquadric* quadric = gluNewQuadric(); return quadric; }

void drawText(const Vec3&, float, const char*) {}
void drawDecodingText(const Vec3&, float, float, float, float, const char*) {}
GLuint fontTexture() { return 0; }

void setupLogoScene() {}
void buildTerrainGrid() {}
void setupBeast() {}
void setupMoonScene() {}
void setupRoots() {}
void setupStairway() {}
void setupOpeningText() {}

void drawOpeningText(float, int) {}
void drawMistScene(float, int) {}
void drawLairScene(float) {}
void drawBeastScene(float) {}
void drawMoonScene(float) {}
void drawIterationsScene(float) {}
void drawRootsScene(float) {}
void drawBranchScene(float, int) {}
void drawGreetingsScene(float, int) {}
void drawLensFlares(float, int) {}
void drawCredits(float, int) {}
