// The image manager: decodes picture files into GL textures, makes the
// embedded bitmap into a texture, binds textures, and draws the screen-space
// passes (orthographic helpers, full-screen quads, overlay, zoom, mirror, streaks).
#pragma once
#include <epoxy/gl.h>

#include <cstdint>
#include <string>
#include <vector>

class ImageManager {
public:
    // Decodes the file into a new GL texture, left bound; width and height take
    // its size. A file that cannot be decoded ends the program.
    GLuint loadImage(const char* path, bool mipmapped, bool clampToEdge);
    // A texture from the embedded bitmap with this number; a bitmap that cannot
    // be found gives a texture name with nothing in it.
    GLuint loadBitmapResource(uint8_t id);
    // Enables 2D texturing on the active unit and binds the texture there.
    static void bind(GLuint texture);
    // The four screen-quad display lists (needs the GL context).
    void buildQuadLists();
    // Deletes them (shutdown, while the context lives).
    void releaseQuadLists();

    // Screen-space passes. All leave the matrix mode at GL_MODELVIEW.
    static void beginOrtho(float width, float height);
    static void endOrtho();
    // The 0..1 quad under a 0..1 projection: every pixel of the viewport once.
    void drawFullScreenQuad();
    // The overlay picture over the whole frame, alpha-blended.
    void drawOverlay();
    // The bound texture over the viewport, inset by amount / 2 on every side.
    static void drawZoomed(float amount);
    // The bound texture four times around the centre, mirrored, rotated by the angle.
    static void drawMirrored(float angleDegrees);
    // A screen-blended glow of layers ever larger, fainter copies of the texture,
    // over a window of width x height pixels.
    static void drawStreaks(int layers, float alpha, const float (&left)[3], const float (&right)[3],
                            GLuint texture, float width, float height);

    // Display lists: [0] 0..1 unit quad, [1] -1..1, [2] 2:1 (-2..2 by -1..1), [3] 8:1 banner.
    GLuint quadList[4] = {0, 0, 0, 0};
    // The size of the image most recently loaded by loadImage.
    int width = 0;
    int height = 0;
};

// Starts decoding these picture files on a worker thread, in this order, so
// that loadImage finds them decoded; it decodes any other file itself, and
// fails on a file that cannot be decoded only when it is asked for it, as
// before. Needs no GL. stopDecodingAhead drops what was never asked for.
void decodeAhead(const std::vector<std::string>& paths);
void stopDecodingAhead();

// How well the last list matched the loads made while it was in place: a
// load that is not on it, or an entry never loaded, is a list that has
// drifted from the loads (which costs time, not pictures).
struct DecodeAheadTally {
    int loads = 0;
    int unlisted = 0;
    int neverLoaded = 0; // counted when the list stops
};
DecodeAheadTally decodeAheadTally();

// The overlay picture laid over every frame: loaded at start-up, released at shutdown.
void loadOverlayTexture(ImageManager& images);
void releaseOverlayTexture();
GLuint overlayTexture();

// A bitmap as the display hands it to GL: blue-green-red bytes, rows bottom-up,
// each row padded to a multiple of four bytes.
struct DeviceBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;
};
// Decodes the embedded bitmap with this number; false when there is none or it is unreadable.
bool loadDeviceBitmap(uint8_t id, DeviceBitmap& bitmap);
