#include "gfx/image_manager.h"

#include <GL/glu.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "core/data_dir.h"
#include "core/embedded.h"
#include "core/log.h"
#include "gfx/picture_decoder.h"

namespace {

// Pictures decoded on a worker thread ahead of the loads that ask for them,
// in the order given. The worker keeps at most kAheadBytes of unclaimed
// pictures; a load takes its picture when it is ready, waits for it while it
// is being decoded, and decodes it itself when the worker has not reached it.
constexpr size_t kAheadBytes = 24 << 20;

struct DecodeAhead {
    enum class Stage { Queued, Decoding, Ready, Taken };
    struct Entry {
        std::string path;
        Stage stage = Stage::Queued;
        bool decoded = false;
        DecodedPicture picture;
    };

    std::mutex lock;
    std::condition_variable changed;
    std::vector<Entry> entries; // fixed while the worker runs
    DecodeAheadTally tally;     // of the list stopped last
    size_t heldBytes = 0;
    bool stopping = false;
    std::thread worker;

    void run()
    {
        std::unique_lock<std::mutex> hold(lock);
        for (Entry& entry : entries) {
            changed.wait(hold, [&] { return stopping || entry.stage != Stage::Queued || heldBytes < kAheadBytes; });
            if (stopping)
                return;
            if (entry.stage != Stage::Queued)
                continue; // a load came first and decoded it
            entry.stage = Stage::Decoding;
            hold.unlock();
            DecodedPicture picture;
            bool decoded = decodePictureFile(dataFile(entry.path).c_str(), picture);
            hold.lock();
            entry.picture = std::move(picture);
            entry.decoded = decoded;
            entry.stage = Stage::Ready;
            heldBytes += entry.picture.rgba.size();
            changed.notify_all();
        }
    }

    // Whether the path was queued; if so, decoded and picture are the outcome.
    bool take(const char* path, bool& decoded, DecodedPicture& picture)
    {
        std::unique_lock<std::mutex> hold(lock);
        if (entries.empty())
            return false;
        ++tally.loads;
        for (Entry& entry : entries) {
            if (entry.path != path || entry.stage == Stage::Taken)
                continue;
            if (entry.stage == Stage::Queued) {
                entry.stage = Stage::Taken;
                return false;
            }
            changed.wait(hold, [&] { return entry.stage == Stage::Ready; });
            entry.stage = Stage::Taken;
            heldBytes -= entry.picture.rgba.size();
            decoded = entry.decoded;
            picture = std::move(entry.picture);
            changed.notify_all();
            return true;
        }
        ++tally.unlisted;
        return false;
    }

    void stop()
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            stopping = true;
        }
        changed.notify_all();
        if (worker.joinable())
            worker.join();
        for (const Entry& entry : entries)
            tally.neverLoaded += entry.stage != Stage::Taken;
        entries.clear();
        heldBytes = 0;
        stopping = false;
    }

    ~DecodeAhead() { stop(); }
};

struct {
    GLuint overlay = 0; // data/gfx/overlay.png
    DecodeAhead ahead;
} state;

[[noreturn]] void failToLoad(const char* path)
{
    logWrite(" -> IMAGE MANAGER :: failed to load '%s'\n", path);
    std::string cause = "cannot load the image '" + dataFile(path) + "'";
    failAndExit(cause.c_str());
}

// One screen quad as a triangle strip, texture coordinates 0..1 over x0..x1, y0..y1.
GLuint buildQuadList(float x0, float x1, float y0, float y1)
{
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x1, y1);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x0, y1);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x1, y0);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x0, y0);
    glEnd();
    glEndList();
    return list;
}

} // namespace

GLuint ImageManager::loadImage(const char* path, bool mipmapped, bool clampToEdge)
{
    DecodedPicture picture;
    bool decoded = false;
    if (!state.ahead.take(path, decoded, picture))
        decoded = decodePictureFile(dataFile(path).c_str(), picture);
    if (!decoded)
        failToLoad(path);
    width = picture.width;
    height = picture.height;

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (mipmapped) {
        // The filter first, so that the driver lays out the whole chain at
        // once. GLU rescales sides that are not powers of two.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, 4, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (clampToEdge) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    logWrite(" -> IMAGE MANAGER :: '%s' loaded.\n", path);
    return texture;
}

void decodeAhead(const std::vector<std::string>& paths)
{
    state.ahead.stop();
    state.ahead.tally = {};
    for (const std::string& path : paths)
        state.ahead.entries.push_back({.path = path});
    state.ahead.worker = std::thread([] { state.ahead.run(); });
}

void stopDecodingAhead()
{
    state.ahead.stop();
}

DecodeAheadTally decodeAheadTally()
{
    return state.ahead.tally;
}

bool loadDeviceBitmap(uint8_t id, DeviceBitmap& bitmap)
{
    std::string name = "images/bitmap" + std::to_string(id) + ".png";
    const EmbeddedFile* file = embeddedResource(name);
    DecodedPicture picture;
    if (!file || !decodePng(file->data, file->size, picture))
        return false;
    // Blue, green, red; rows stay bottom-up, each padded to four bytes.
    bitmap.width = picture.width;
    bitmap.height = picture.height;
    size_t stride = (static_cast<size_t>(bitmap.width) * 3 + 3) & ~size_t{3};
    bitmap.bits.assign(stride * bitmap.height, 0);
    for (int row = 0; row < bitmap.height; ++row)
        for (int x = 0; x < bitmap.width; ++x) {
            const uint8_t* from = &picture.rgba[(static_cast<size_t>(row) * bitmap.width + x) * 4];
            uint8_t* to = &bitmap.bits[row * stride + x * 3];
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    return true;
}

GLuint ImageManager::loadBitmapResource(uint8_t id)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    DeviceBitmap bitmap;
    if (!loadDeviceBitmap(id, bitmap))
        return texture;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, bitmap.width, bitmap.height, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                      bitmap.bits.data());
    return texture;
}

void ImageManager::bind(GLuint texture)
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void ImageManager::buildQuadLists()
{
    quadList[0] = buildQuadList(0.0f, 1.0f, 0.0f, 1.0f);
    quadList[1] = buildQuadList(-1.0f, 1.0f, -1.0f, 1.0f);
    quadList[2] = buildQuadList(-2.0f, 2.0f, -1.0f, 1.0f);
    quadList[3] = buildQuadList(-3.0f, 3.0f, -0.375f, 0.375f);
}

void ImageManager::releaseQuadLists()
{
    for (GLuint& list : quadList) {
        if (list != 0)
            glDeleteLists(list, 1);
        list = 0;
    }
}

void loadOverlayTexture(ImageManager& images)
{
    state.overlay = images.loadImage("data/gfx/overlay.png", true, false);
}

void releaseOverlayTexture()
{
    if (state.overlay != 0)
        glDeleteTextures(1, &state.overlay);
    state.overlay = 0;
}

GLuint overlayTexture()
{
    return state.overlay;
}
