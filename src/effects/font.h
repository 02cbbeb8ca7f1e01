// The bitmap font every text of the show is written in: the picture
// data/gfx/modern-space.png, whose cells the glyph lists of bitmap_text draw.
// The quotation's set-up loads it.
#pragma once
#include <epoxy/gl.h>

class ImageManager;

void loadFontPicture(ImageManager& images);
void releaseFontPicture();
GLuint fontTexture();
