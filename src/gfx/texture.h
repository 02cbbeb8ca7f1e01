// A named RGBA picture held in memory, filled texel by texel and uploaded to GL once.
#pragma once
#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

class Texture {
public:
    // width x height opaque black texels; writes the creation line to the log.
    Texture(int32_t width, int32_t height, const char* name);
    // Frees the texels and writes the destruction line. The GL texture stays.
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Makes the GL texture (with mipmaps) from the texels and keeps its name in
    // glName; the texels are freed.
    void upload();

    uint32_t& at(int row, int column) { return pixels[static_cast<size_t>(row) * width + column]; }
    uint32_t at(int row, int column) const { return pixels[static_cast<size_t>(row) * width + column]; }

    int32_t width;
    int32_t height;
    GLuint glName = 0;
    // Row 0 first (the bottom row once uploaded); red in the lowest byte, alpha in the highest.
    std::vector<uint32_t> pixels;
    const char* name;
};

// The 32-bit word of an opaque texel (red, green, blue).
constexpr uint32_t opaqueTexel(uint32_t red, uint32_t green, uint32_t blue)
{
    return red | (green << 8) | (blue << 16) | 0xFF000000u;
}
constexpr uint32_t greyTexel(uint32_t grey)
{
    return opaqueTexel(grey, grey, grey);
}
