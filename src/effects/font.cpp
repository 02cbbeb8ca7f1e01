#include "effects/font.h"

#include "gfx/image_manager.h"

namespace {

struct {
    GLuint font = 0;
} state;

} // namespace

void loadFontPicture(ImageManager& images)
{
    state.font = images.loadImage("data/gfx/modern-space.png", true, false);
}

void releaseFontPicture()
{
    // The image manager does not delete what it loads: its users do.
    if (state.font != 0)
        glDeleteTextures(1, &state.font);
    state.font = 0;
}

GLuint fontTexture()
{
    return state.font;
}
