#include <gtest/gtest.h>
#include <png.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/image_io.h"
#include "gfx/picture_decoder.h"

namespace fs = std::filesystem;

namespace {

// A 1 x 2 picture in a libpng format: top row first.
std::vector<uint8_t> pngOf(uint32_t format, const std::vector<uint8_t>& pixels, const uint8_t* colourMap = nullptr,
                           int colours = 0)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 1;
    image.height = 2;
    image.format = format;
    image.colormap_entries = static_cast<png_uint_32>(colours);
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, colourMap));
    std::vector<uint8_t> bytes(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, colourMap));
    return bytes;
}

// Decoded RGBA of a 1 x 2 PNG, bottom row first.
std::vector<uint8_t> decodedPng(const std::vector<uint8_t>& bytes)
{
    DecodedPicture picture;
    EXPECT_TRUE(decodePng(bytes.data(), bytes.size(), picture));
    EXPECT_EQ(picture.width * 10 + picture.height, 12);
    return {picture.rgba.begin(), picture.rgba.end()};
}

const fs::path kScratch = fs::temp_directory_path() / ("velmora-decoder-" + std::to_string(getpid()));

std::string scratch(const std::string& name, const std::vector<uint8_t>& bytes)
{
    fs::create_directories(kScratch);
    std::string path = (kScratch / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

// A 16 x 16 JPEG, white over black.
std::vector<uint8_t> whiteOverBlackJpeg()
{
    assetgen::Image image(16, 16, 3);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            image.at(x, y)[0] = image.at(x, y)[1] = image.at(x, y)[2] = 255;
    return assetgen::encodeJpeg(image);
}

} // namespace

TEST(PictureDecoder, EveryKindOfPngBecomesEightBitRgbaBottomRowFirst)
{
    EXPECT_EQ(decodedPng(pngOf(PNG_FORMAT_RGB, {10, 20, 30, 40, 50, 60})),
              (std::vector<uint8_t>{40, 50, 60, 255, 10, 20, 30, 255}));
    EXPECT_EQ(decodedPng(pngOf(PNG_FORMAT_RGBA, {10, 20, 30, 5, 40, 50, 60, 6})),
              (std::vector<uint8_t>{40, 50, 60, 6, 10, 20, 30, 5}));
    EXPECT_EQ(decodedPng(pngOf(PNG_FORMAT_GRAY, {70, 80})), (std::vector<uint8_t>{80, 80, 80, 255, 70, 70, 70, 255}));
    EXPECT_EQ(decodedPng(pngOf(PNG_FORMAT_GA, {70, 1, 80, 2})), (std::vector<uint8_t>{80, 80, 80, 2, 70, 70, 70, 1}));
    // A palette with a transparent entry.
    const uint8_t palette[] = {1, 2, 3, 0, 4, 5, 6, 255};
    EXPECT_EQ(decodedPng(pngOf(PNG_FORMAT_RGBA_COLORMAP, {1, 0}, palette, 2)),
              (std::vector<uint8_t>{1, 2, 3, 0, 4, 5, 6, 255}));
    // Sixteen-bit samples keep their high byte.
    std::vector<uint16_t> wide = {0x1234, 0xABCD, 0x00FF, 0xFF00, 0x8001, 0x7FFF};
    std::vector<uint8_t> wideBytes(reinterpret_cast<uint8_t*>(wide.data()), reinterpret_cast<uint8_t*>(wide.data() + 6));
    EXPECT_EQ(decodedPng(pngOf(PNG_FORMAT_LINEAR_RGB, wideBytes)),
              (std::vector<uint8_t>{0xFF, 0x80, 0x7F, 255, 0x12, 0xAB, 0x00, 255}));
}

// The outcomes of the decoder this one replaced, case by case.
TEST(PictureDecoder, DamagedFilesFailAsBeforeWhileDamagedJpegDataStillDecodes)
{
    std::vector<uint8_t> png = pngOf(PNG_FORMAT_RGB, {10, 20, 30, 40, 50, 60});
    std::vector<uint8_t> jpeg = whiteOverBlackJpeg();
    std::vector<uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    auto cut = [](std::vector<uint8_t> bytes, size_t keep) {
        bytes.resize(keep);
        return bytes;
    };
    std::vector<uint8_t> flipped = jpeg;
    flipped[flipped.size() - 40] ^= 0xFF; // inside the coded data
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool decodes;
    } cases[] = {
        {"empty.png", {}, false},
        {"empty.jpg", {}, false},
        {"text.png", text, false},
        {"text.jpg", text, false},
        {"cut.png", cut(png, png.size() / 2), false},
        {"cut.jpg", cut(jpeg, jpeg.size() - 2), false},   // only the end marker missing
        {"no-end.png", cut(png, png.size() - 12), true},  // only the end chunk missing
        {"flipped.jpg", flipped, true},
        {"png-named.jpg", png, false},                    // the ending decides
        {"PICTURE.PNG", png, true},
        {"no-ending", png, true},                         // else the first bytes
        {"jpeg-no-ending", jpeg, true},
    };
    for (const auto& c : cases) {
        DecodedPicture picture;
        EXPECT_EQ(decodePictureFile(scratch(c.name, c.bytes).c_str(), picture), c.decodes) << c.name;
        EXPECT_EQ(picture.rgba.empty(), !c.decodes) << c.name;
    }
    fs::remove_all(kScratch);
}
