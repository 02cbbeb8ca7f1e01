// Writing the generated pictures: PNG (RGB or RGBA) and JPEG (RGB), rows top-down.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Image {
    int width = 0;
    int height = 0;
    int channels = 3; // 3: RGB, 4: RGBA
    std::vector<uint8_t> pixels; // rows top-down

    Image() = default;
    Image(int w, int h, int c) : width(w), height(h), channels(c), pixels(static_cast<size_t>(w) * h * c, 0) {}
    uint8_t* at(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * channels]; }
    const uint8_t* at(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * channels]; }
};

// Encoded bytes (deterministic: no timestamps), or exits with a message on failure.
std::vector<unsigned char> encodePng(const Image& image);
std::vector<unsigned char> encodeJpeg(const Image& image, int quality = 92);
// Encodes and writes (only when the bytes changed).
void savePng(const std::string& path, const Image& image);
void saveJpeg(const std::string& path, const Image& image, int quality = 92);

} // namespace assetgen
