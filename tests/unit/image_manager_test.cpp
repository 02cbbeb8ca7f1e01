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
