#include "effects/moon_picture.h"

#include "gfx/image_manager.h"

namespace {

struct {
    GLuint moon = 0;
} state;

} // namespace

void loadMoonPicture(ImageManager& images)
{
    state.moon = images.loadImage("data/gfx/moon.png", true, false);
}

void releaseMoonPicture()
{
    // The image manager does not delete what it loads: its users do.
    if (state.moon != 0)
        glDeleteTextures(1, &state.moon);
    state.moon = 0;
}

GLuint moonImage()
{
    return state.moon;
}
