// The GL tests' window: one 640 x 480 window with a 16:10 band (a letterboxed
// viewport of 640 x 400 at y = 40), opened on first use.
#pragma once
#include <epoxy/gl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/display_settings.h"
#include "gfx/image_manager.h"
#include "support/test_support.h"

namespace gltest {

using testsupport::lastLine;
using testsupport::readFile;

void ensureContext();
// Opens the context if need be, then draws plainly to the whole window: framebuffer 0,
// a 640 x 480 viewport, identity matrices, no program, blending, depth test, lighting,
// fog or texturing, white colour; the window cleared to transparent black.
void resetState();
// The log path of a scratch directory for this tag.
std::string scratchPath(const std::string& tag);
// Opens a fresh log in a scratch directory; returns its path.
std::string openScratchLog(const std::string& tag);

// RGBA bytes of one pixel of the bound read framebuffer.
struct Pixel {
    int r, g, b, a;
};
Pixel readPixel(int x, int y);
// A texture of the given RGBA texels (rows bottom-up), nearest filtering, no mipmaps.
GLuint makeTexture(int width, int height, const std::vector<uint32_t>& texels);
GLint getInteger(GLenum name);
// A parameter of the texture bound to GL_TEXTURE_2D.
GLint getTexParameter(GLenum name);
// x, y, width and height.
std::vector<int> viewport();
// The window's 16:10 band: 640 x 400 at y = 40.
Viewport windowBand();
// The tests' image manager, its quad lists built in the window's context.
ImageManager& images();

} // namespace gltest
