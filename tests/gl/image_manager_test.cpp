#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>

#include "core/log.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"
#include "gfx/texture.h"
#include "gl/gl_context.h"

using namespace gltest;

namespace {

// Writes an RGBA picture (rows top-down) as a PNG next to the scratch logs.
std::string writePicture(const std::string& tag, int width, int height, const std::vector<uint32_t>& rgba)
{
    std::string path = scratchPath(tag) + ".png";
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    EXPECT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr));
    return path;
}

// Minification, magnification, wrap s and wrap t of the bound texture.
std::vector<GLint> sampling()
{
    return {getTexParameter(GL_TEXTURE_MIN_FILTER), getTexParameter(GL_TEXTURE_MAG_FILTER),
            getTexParameter(GL_TEXTURE_WRAP_S), getTexParameter(GL_TEXTURE_WRAP_T)};
}

} // namespace

TEST(ImageManager, TwoImagesInARowLeaveTheSecondsSize)
{
    ensureContext();
    std::string log = openScratchLog("images");
    std::string wide = writePicture("wide", 8, 4, std::vector<uint32_t>(32, 0xFF102030u));
    // 2 x 3, top row red, the rest blue.
    std::string tall = writePicture("tall", 2, 3, {0xFF0000FFu, 0xFF0000FFu, 0xFFFF0000u, 0xFFFF0000u,
                                                   0xFFFF0000u, 0xFFFF0000u});
    ImageManager& manager = images();
    GLuint first = manager.loadImage(wide.c_str(), true, false);
    EXPECT_EQ(manager.width * 10 + manager.height, 84);
    GLuint second = manager.loadImage(tall.c_str(), false, true);
    EXPECT_EQ(manager.width * 10 + manager.height, 23);

    // The new texture stays bound; no mipmaps and clamped as asked.
    EXPECT_EQ(getInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(second));
    EXPECT_EQ(sampling(), (std::vector<GLint>{GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE}));
    // The first row handed to GL is the picture's bottom row; the top row comes last.
    std::vector<uint32_t> texels(2 * 3);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, (std::vector<uint32_t>{0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0xFF0000FFu,
                                             0xFF0000FFu}));
    glBindTexture(GL_TEXTURE_2D, first);
    EXPECT_EQ(sampling(), (std::vector<GLint>{GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT}));
    closeLog();
    EXPECT_EQ(readFile(log), " -> IMAGE MANAGER :: '" + wide + "' loaded.\n -> IMAGE MANAGER :: '" + tall +
                                 "' loaded.\n");
    glDeleteTextures(1, &first);
    glDeleteTextures(1, &second);
}

// Loads may come in another order than the one decoded ahead, or ask for a
// file that was not listed: each still gets its own picture, and the log
// follows the loads.
TEST(ImageManager, PicturesDecodedAheadLoadInAnyOrderWithTheirOwnSizes)
{
    ensureContext();
    std::string log = openScratchLog("ahead");
    std::string wide = writePicture("ahead-wide", 8, 4, std::vector<uint32_t>(32, 0xFF102030u));
    std::string square = writePicture("ahead-square", 2, 2, std::vector<uint32_t>(4, 0xFF0000FFu));
    std::string unlisted = writePicture("ahead-unlisted", 1, 3, std::vector<uint32_t>(3, 0xFF00FF00u));
    decodeAhead({wide, square, scratchPath("never-asked") + ".png"});
    ImageManager& manager = images();
    std::vector<GLuint> textures;
    std::vector<int> sizes;
    for (const std::string& path : {square, unlisted, wide}) {
        textures.push_back(manager.loadImage(path.c_str(), false, false));
        sizes.push_back(manager.width * 10 + manager.height);
    }
    stopDecodingAhead();
    EXPECT_EQ(sizes, (std::vector<int>{22, 13, 84}));
    closeLog();
    EXPECT_EQ(readFile(log), " -> IMAGE MANAGER :: '" + square + "' loaded.\n -> IMAGE MANAGER :: '" + unlisted +
                                 "' loaded.\n -> IMAGE MANAGER :: '" + wide + "' loaded.\n");
    glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
}

TEST(ImageManager, BindWithZeroEnablesTexturingWithNothingBound)
{
    ensureContext();
    glDisable(GL_TEXTURE_2D);
    ImageManager::bind(0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(getInteger(GL_TEXTURE_BINDING_2D), 0);
}

TEST(ImageManager, Bitmap107BecomesA64By64MipmappedRgbTextureAndAMissingOneAnEmptyName)
{
    ensureContext();
    GLuint texture = images().loadBitmapResource(107);
    ASSERT_NE(texture, 0u);
    glBindTexture(GL_TEXTURE_2D, texture);
    // 64 x 64 with the whole mipmap chain down to level 6.
    GLint width = 0, height = 0, smallest = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 6, GL_TEXTURE_WIDTH, &smallest);
    EXPECT_EQ((std::vector<GLint>{width, height, smallest, getTexParameter(GL_TEXTURE_MIN_FILTER)}),
              (std::vector<GLint>{64, 64, 1, GL_LINEAR_MIPMAP_LINEAR}));
    // GL holds the bitmap's rows as they were handed over, blue-green-red turned into RGB.
    DeviceBitmap bitmap;
    ASSERT_TRUE(loadDeviceBitmap(107, bitmap));
    std::vector<uint8_t> rgb(64 * 64 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    int mismatches = 0;
    for (size_t i = 0; i < rgb.size(); i += 3)
        mismatches += rgb[i] != bitmap.bits[i + 2] || rgb[i + 1] != bitmap.bits[i + 1] || rgb[i + 2] != bitmap.bits[i];
    EXPECT_EQ(mismatches, 0);
    glDeleteTextures(1, &texture);
    texture = images().loadBitmapResource(99); // missing: an empty texture name
    EXPECT_NE(texture, 0u);
    glDeleteTextures(1, &texture);
}

TEST(Texture, SquaresOfTheListedSidesKeepLinearMinificationOtherSizesRepeatWithMipmaps)
{
    ensureContext();
    Texture square(32, 32, "square");
    square.upload();
    EXPECT_NE(square.glName, 0u);
    EXPECT_EQ(getInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(square.glName));
    EXPECT_EQ(sampling(), (std::vector<GLint>{GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT}));
    glDeleteTextures(1, &square.glName);

    Texture odd(64, 32, "odd");
    odd.upload();
    EXPECT_EQ(sampling(), (std::vector<GLint>{GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT}));
    glDeleteTextures(1, &odd.glName);
}

TEST(ProceduralTextures, CreationAndReleaseLogInTheirOrders)
{
    ensureContext();
    std::string log = openScratchLog("procedural");
    createProceduralTextures();
    const ProceduralTextures& names = proceduralTextures();
    for (GLuint name : {names.circle, names.flare, names.bigflare, names.blueflare, names.noise, names.clouds,
                        names.surround, names.mask})
        EXPECT_TRUE(glIsTexture(name));
    glBindTexture(GL_TEXTURE_2D, names.noise);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 1024);
    releaseProceduralTextures();
    EXPECT_EQ(proceduralTextures().noise, 0u);
    closeLog();
    // Whole lines, byte for byte: the blank before each line end belongs to them.
    const std::pair<const char*, int> created[] = {{"circle", 64},    {"flare", 32},   {"bigflare", 512},
                                                   {"blueflare", 32}, {"noise", 1024}, {"clouds", 256},
                                                   {"surround", 512}, {"mask", 512}};
    auto line = [&](int i, const char* what, const char* done) {
        std::string side = std::to_string(created[i].second);
        return std::string(" -> ") + what + " :: Texture '" + created[i].first + "' (" + side + " x " + side + ") " +
               done + ". \n";
    };
    std::vector<std::string> order;
    for (int i = 0; i < 8; ++i)
        order.push_back(line(i, "Creation", "created"));
    for (int i : {1, 0, 3, 2, 4, 5, 6, 7})
        order.push_back(line(i, "Destruction", "destroyed"));
    testsupport::expectInOrder(readFile(log), order);
}

TEST(Overlay, DarkensTheCornersAndLeavesTheMiddleClear)
{
    ensureContext();
    // Loaded as start-up loads it, from data/ under the working directory.
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(VELMORA_DATA_DIR).parent_path());
    loadOverlayTexture(images());
    std::filesystem::current_path(previous);
    ASSERT_NE(overlayTexture(), 0u);

    // Over a white frame.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glViewport(0, 0, 640, 480);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDisable(GL_BLEND);
    glColor4f(0.2f, 0.2f, 0.2f, 0.2f);
    images().drawOverlay();
    EXPECT_TRUE(glIsEnabled(GL_BLEND) && glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ((std::vector<GLint>{getInteger(GL_BLEND_SRC), getInteger(GL_BLEND_DST), getInteger(GL_TEXTURE_BINDING_2D)}),
              (std::vector<GLint>{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, static_cast<GLint>(overlayTexture())}));
    Pixel centre = readPixel(320, 240);
    EXPECT_GE(std::min(centre.r, centre.b), 235);
    for (auto [x, y] : {std::pair{2, 2}, {637, 2}, {2, 477}, {637, 477}})
        EXPECT_LT(readPixel(x, y).r, 130) << x << ", " << y;
    Pixel edge = readPixel(320, 2);
    EXPECT_LT(edge.r, centre.r);
    EXPECT_GT(edge.r, readPixel(2, 2).r) << "darkest in the corners";

    releaseOverlayTexture();
    EXPECT_EQ(overlayTexture(), 0u);
    glDisable(GL_BLEND);
}
