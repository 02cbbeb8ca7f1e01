#include <gtest/gtest.h>

#include <png.h>

#include <vector>

#include "core/embedded.h"
#include "gfx/image_manager.h"

namespace {

// The embedded picture decoded by libpng on its own, RGB rows top-down.
std::vector<uint8_t> decodeRgb(const EmbeddedFile& file, int& width, int& height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data, file.size))
        return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
        return {};
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return rgb;
}

} // namespace

TEST(Bitmap107, ReachesGlAsBlueGreenRedRowsBottomUp)
{
    const EmbeddedFile* file = embeddedResource("images/bitmap107.png");
    ASSERT_NE(file, nullptr);
    int width = 0, height = 0;
    std::vector<uint8_t> rgb = decodeRgb(*file, width, height);
    ASSERT_EQ(width, 64);
    ASSERT_EQ(height, 64);

    DeviceBitmap bitmap;
    ASSERT_TRUE(loadDeviceBitmap(107, bitmap));
    ASSERT_EQ(bitmap.bits.size(), 64u * 64u * 3u);
    int mismatches = 0;
    for (int row = 0; row < 64; ++row) {
        int pictureRow = 63 - row; // the first row handed over is the picture's bottom
        for (int x = 0; x < 64; ++x)
            for (int c = 0; c < 3; ++c)
                mismatches += bitmap.bits[(row * 64 + x) * 3 + c] != rgb[(pictureRow * 64 + x) * 3 + (2 - c)];
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(Bitmap107, AnUnknownNumberLoadsNothing)
{
    DeviceBitmap bitmap;
    EXPECT_FALSE(loadDeviceBitmap(99, bitmap));
    EXPECT_TRUE(bitmap.bits.empty());
}

TEST(EmbeddedPictures, DialogBannerAndIconHaveTheirSizes)
{
    struct {
        const char* name;
        int width, height;
    } expected[] = {{"images/banner106.png", 191, 135}, {"images/icon102.png", 32, 32}};
    for (const auto& e : expected) {
        const EmbeddedFile* file = embeddedResource(e.name);
        ASSERT_NE(file, nullptr) << e.name;
        int width = 0, height = 0;
        decodeRgb(*file, width, height);
        EXPECT_EQ(width, e.width) << e.name;
        EXPECT_EQ(height, e.height) << e.name;
    }
}
