// Minimal stand-ins for pending_show.h, enough to run the chain and the
// backdrops before the real modules are joined (PNG images only).
#include "pending_show.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/display_settings.h"
#include "app/log.h"

int SoundManager::play(const char*, bool) { return 0; }
int32_t SoundManager::time() { return 0; }
SoundManager& soundManager() { static SoundManager manager; return manager; }

GLuint ImageManager::loadImage(const char* path, bool mipmapped, bool clampToEdge)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path)) {
        image.format = PNG_FORMAT_RGBA;
        std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
        // Rows bottom-up, as GL wants them.
        png_image_finish_read(&image, nullptr, pixels.data(), -static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(image)), nullptr);
        if (mipmapped)
            gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        else
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        logWrite(" -> IMAGE MANAGER :: '%s' loaded.\n", path);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    GLint wrap = clampToEdge ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    return texture;
}
GLuint ImageManager::loadBitmapResource(uint8_t) { return 0; }
void ImageManager::bind(GLuint texture)
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
}
void ImageManager::buildQuadLists()
{
    quadList[0] = glGenLists(1);
    glNewList(quadList[0], GL_COMPILE);
    glBegin(GL_QUADS);
        glTexCoord2f(0, 0); glVertex2f(0, 0);
        glTexCoord2f(1, 0); glVertex2f(1, 0);
        glTexCoord2f(1, 1); glVertex2f(1, 1);
        glTexCoord2f(0, 1); glVertex2f(0, 1);
    glEnd();
    glEndList();
}
void ImageManager::beginOrtho(float w, float h)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}
void ImageManager::endOrtho()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
void ImageManager::drawFullScreenQuad()
{
    beginOrtho(1, 1);
    glCallList(quadList[0]);
    endOrtho();
}
void ImageManager::drawOverlay() {}
void ImageManager::drawZoomed(float amount)
{
    float e = amount / 2;
    beginOrtho(1, 1);
    glDepthMask(GL_FALSE);
    glBegin(GL_QUADS);
        glTexCoord2f(e, e); glVertex2f(0, 0);
        glTexCoord2f(1 - e, e); glVertex2f(1, 0);
        glTexCoord2f(1 - e, 1 - e); glVertex2f(1, 1);
        glTexCoord2f(e, 1 - e); glVertex2f(0, 1);
    glEnd();
    glDepthMask(GL_TRUE);
    endOrtho();
}
void ImageManager::drawMirrored(float angle)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDepthMask(GL_FALSE);
    glRotatef(angle, 0, 0, 1);
    glScalef(1.15f, 1.15f, 1);
    glBegin(GL_QUADS);
    for (int q = 0; q < 4; ++q) {
        float sx = (q == 0 || q == 3) ? 1.0f : -1.0f, sy = q < 2 ? 1.0f : -1.0f;
        glTexCoord2f(0, 0); glVertex2f(0, 0);
        glTexCoord2f(1, 0); glVertex2f(sx, 0);
        glTexCoord2f(1, 1); glVertex2f(sx, sy);
        glTexCoord2f(0, 1); glVertex2f(0, sy);
    }
    glEnd();
    glDepthMask(GL_TRUE);
    endOrtho();
}
void ImageManager::drawStreaks(int, float, const float (&)[3], const float (&)[3], GLuint) {}
ImageManager& imageManager() { static ImageManager manager; return manager; }
void loadOverlayTexture() {}

void FrameBuffer::create(int32_t w, int32_t h)
{
    width = w;
    height = h;
    glGenFramebuffers(1, &fbo_);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
    glGenTextures(1, &colorTexture);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    logWrite(" -> FBO STATUS :: FBO instance %i x %i created. \n", w, h);
}
FrameBuffer::~FrameBuffer()
{
    glDeleteFramebuffers(1, &fbo_);
    glDeleteRenderbuffers(1, &depth_);
    glDeleteTextures(1, &colorTexture);
}
void FrameBuffer::bind()
{
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
}
void FrameBuffer::unbind()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setLetterboxViewport();
}
void FrameBuffer::bindColorTexture() { glBindTexture(GL_TEXTURE_2D, colorTexture); }

void ShaderProgram::create(const char* vertexSource, const char* fragmentSource, const char* name)
{
    program = glCreateProgram();
    glAttachShader(program, compileShader(GL_VERTEX_SHADER, vertexSource));
    glAttachShader(program, compileShader(GL_FRAGMENT_SHADER, fragmentSource));
    glLinkProgram(program);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    logWrite(" -> SHADER '%s' STATUS :: %s \n", name, ok ? "linked" : "link failed");
    if (!ok)
        failAndExit("a shader program did not link");
}
ShaderProgram::~ShaderProgram() { glDeleteProgram(program); }
GLuint ShaderProgram::compileShader(GLenum type, const char* source)
{
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}
void ShaderProgram::setUniform1f(const char* n, float v) { glUniform1f(glGetUniformLocation(program, n), v); }
void ShaderProgram::setUniform2f(const char* n, float a, float b) { glUniform2f(glGetUniformLocation(program, n), a, b); }
void ShaderProgram::setUniform3f(const char* n, const Vec3& v) { glUniform3f(glGetUniformLocation(program, n), v.x, v.y, v.z); }
void ShaderProgram::bindSampler(int unit, GLuint texture, const char* name)
{
    glActiveTexture(GL_TEXTURE0 + unit);
    glEnable(GL_TEXTURE_2D);
    glUniform1i(glGetUniformLocation(program, name), unit);
    glBindTexture(GL_TEXTURE_2D, texture);
}
void ShaderProgram::unbindSampler(int unit)
{
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
}

void createProceduralTextures() {}
const ProceduralTextures& proceduralTextures() { static ProceduralTextures textures{}; return textures; }
void createQuadric()
{
    gluQuadricTexture(sharedQuadric(), GL_TRUE);
}
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
