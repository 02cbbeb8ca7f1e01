#include "gfx/texture.h"

#include <GL/glu.h>

#include "core/log.h"

Texture::Texture(int32_t width, int32_t height, const char* name)
    : width(width), height(height),
      pixels(static_cast<size_t>(width) * static_cast<size_t>(height), greyTexel(0)), name(name)
{
    logWrite(" -> Creation :: Texture '%s' (%i x %i) created. \n", name, width, height);
}

Texture::~Texture()
{
    logWrite(" -> Destruction :: Texture '%s' (%i x %i) destroyed. \n", name, width, height);
}

namespace {
bool isMipmappedSquare(int32_t width, int32_t height)
{
    if (width != height)
        return false;
    for (int32_t side : {512, 1024, 256, 128, 64, 32})
        if (width == side)
            return true;
    return false;
}
} // namespace

void Texture::upload()
{
    glEnable(GL_TEXTURE_2D);
    glGenTextures(1, &glName);
    glBindTexture(GL_TEXTURE_2D, glName);
    // A mipmapped filter while the levels arrive lets the driver lay out the
    // whole chain at once, instead of a first level alone that it copies over
    // at the first draw.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    if (!isMipmappedSquare(width, height)) {
        // Odd sizes repeat and sample their mipmaps; the common squares keep plain linear.
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    }
    std::vector<uint32_t>().swap(pixels); // the driver holds its own copy now
}
