#include <gtest/gtest.h>
#include <png.h>

#include "core/log.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"
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

TEST(ImageManager, AMissingBitmapGivesAnEmptyTextureName)
{
    ensureContext();
    GLuint texture = images().loadBitmapResource(99);
    EXPECT_NE(texture, 0u);
    glDeleteTextures(1, &texture);
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
