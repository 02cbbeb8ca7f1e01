// The bitmap font gfx/modern-space.png: characters 32 to 95 in 16 columns by 4
// rows of 64 x 64 cells, white with alpha = coverage, rendered by FreeType from
// DejaVu Sans Condensed Bold. The show's pen advances 0.6 of a cell, so every
// glyph is centred in the left 60 % of its cell; the few that are wider than
// that are narrowed to fit.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/asset_file.h"
#include "common/image_io.h"

namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";
constexpr int kCell = 64;
constexpr double kPenWidth = 0.6 * kCell; // the part of a cell that belongs to one glyph
constexpr int kMaxGlyphWidth = 35;        // leaves a gap between neighbours
constexpr int kPixelSize = 50;            // capitals about 36 pixels tall
constexpr int kBaseline = 47;             // from the top of the cell

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "assetgen font: %s\n", what);
    std::exit(1);
}

// Renders c with a horizontal squeeze when it would be wider than the pen allows.
FT_GlyphSlot renderGlyph(FT_Face face, unsigned char c)
{
    FT_Set_Transform(face, nullptr, nullptr);
    if (FT_Load_Char(face, c, FT_LOAD_RENDER))
        fail("cannot render a glyph");
    int width = static_cast<int>(face->glyph->bitmap.width);
    if (width > kMaxGlyphWidth) {
        FT_Matrix squeeze = {static_cast<FT_Fixed>(0x10000L * kMaxGlyphWidth / width), 0, 0, 0x10000L};
        FT_Set_Transform(face, &squeeze, nullptr);
        if (FT_Load_Char(face, c, FT_LOAD_RENDER))
            fail("cannot render a glyph");
    }
    return face->glyph;
}

void drawGlyph(assetgen::Image& image, FT_GlyphSlot glyph, int cellX, int cellY)
{
    const FT_Bitmap& bitmap = glyph->bitmap;
    int left = cellX + static_cast<int>((kPenWidth - bitmap.width) / 2.0 + 0.5);
    int top = cellY + kBaseline - glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned col = 0; col < bitmap.width; ++col) {
            int x = left + static_cast<int>(col), y = top + static_cast<int>(row);
            if (x < cellX || x >= cellX + kCell || y < cellY || y >= cellY + kCell)
                fail("a glyph does not fit its cell");
            uint8_t* pixel = image.at(x, y);
            pixel[3] = std::max(pixel[3], bitmap.buffer[row * bitmap.pitch + col]);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, kFontFile, 0, &face))
        fail("cannot open DejaVu Sans Condensed Bold (package fonts-dejavu-core)");
    FT_Set_Pixel_Sizes(face, 0, kPixelSize);

    assetgen::Image image(16 * kCell, 4 * kCell, 4);
    for (size_t i = 0; i < image.pixels.size(); i += 4)
        image.pixels[i] = image.pixels[i + 1] = image.pixels[i + 2] = 255; // white; alpha carries the glyph
    for (int g = 0; g < 64; ++g) {
        unsigned char c = static_cast<unsigned char>(32 + g);
        if (c == ' ')
            continue;
        drawGlyph(image, renderGlyph(face, c), (g % 16) * kCell, (g / 16) * kCell);
    }
    assetgen::savePng(dirs.data + "/gfx/modern-space.png", image);

    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return 0;
}
