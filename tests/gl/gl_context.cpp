#include "gl/gl_context.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/display_settings.h"
#include "core/log.h"
#include "platform/platform.h"

namespace gltest {

namespace {
// Removes the scratch directory when the test program (not a death-test child) ends.
class ScratchCleanup : public testing::Environment {
public:
    void TearDown() override
    {
        const char* owner = std::getenv("VELMORA_GL_SCRATCH");
        if (owner && std::to_string(getpid()) == owner)
            std::filesystem::remove_all(std::filesystem::temp_directory_path() / (std::string("velmora-gl-") + owner));
    }
};
testing::Environment* const kCleanup = testing::AddGlobalTestEnvironment(new ScratchCleanup);
} // namespace

void ensureContext()
{
    static bool ready = [] {
        std::string error;
        if (!platform::initVideo(error))
            return false;
        platform::setMessageBoxesEnabled(false);
        platform::WindowRequest spec{"velmora gl tests", 640, 480, false, 24};
        if (!platform::openWindow(spec, error))
            return false;
        platform::raiseWindow();
        return true;
    }();
    ASSERT_TRUE(ready) << "no GL context";
}

void resetState()
{
    ensureContext();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glUseProgram(0);
    for (GLenum capability : {GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING, GL_FOG, GL_TEXTURE_2D})
        glDisable(capability);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

std::string scratchPath(const std::string& tag)
{
    // Named after the test process's parent for death tests too: the child
    // re-runs the binary, so it must find the same directory as its parent.
    const char* owner = std::getenv("VELMORA_GL_SCRATCH");
    std::string id = owner ? owner : std::to_string(getpid());
    if (!owner)
        setenv("VELMORA_GL_SCRATCH", id.c_str(), 1);
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("velmora-gl-" + id);
    std::filesystem::create_directories(dir);
    return (dir / (tag + ".txt")).string();
}

std::string openScratchLog(const std::string& tag)
{
    std::string path = scratchPath(tag);
    openLog(path.c_str());
    return path;
}

Pixel readPixel(int x, int y)
{
    uint8_t p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

GLuint makeTexture(int width, int height, const std::vector<uint32_t>& texels)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texture;
}

GLint getInteger(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLint getTexParameter(GLenum name)
{
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

std::vector<int> viewport()
{
    GLint v[4] = {};
    glGetIntegerv(GL_VIEWPORT, v);
    return {v[0], v[1], v[2], v[3]};
}

Viewport windowBand()
{
    return letterbox(640, 480, 0);
}

ImageManager& images()
{
    static ImageManager manager;
    ensureContext();
    if (manager.quadList[0] == 0)
        manager.buildQuadLists();
    return manager;
}

} // namespace gltest
