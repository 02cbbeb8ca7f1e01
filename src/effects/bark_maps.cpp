#include "effects/bark_maps.h"

#include "gfx/image_manager.h"

namespace {

struct {
    GLuint colour = 0;
    GLuint normals = 0;
} state;

} // namespace

void loadBarkMaps(ImageManager& images)
{
    state.colour = images.loadImage("data/gfx/chaos_color.png", true, false);
    state.normals = images.loadImage("data/gfx/normal1.jpg", true, false);
}

void releaseBarkMaps()
{
    // The image manager does not delete what it loads: its users do.
    for (GLuint* texture : {&state.colour, &state.normals}) {
        if (*texture != 0)
            glDeleteTextures(1, texture);
        *texture = 0;
    }
}

GLuint barkColourMap() { return state.colour; }
GLuint barkNormalMap() { return state.normals; }
