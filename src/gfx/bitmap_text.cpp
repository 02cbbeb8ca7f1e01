#include "gfx/bitmap_text.h"

#include <epoxy/gl.h>

#include <cstring>

#include "core/time_window.h"

namespace bitmaptext {

const char kScrambleTable[kScrambleRows][64] = {
    "  TLJXUGKBW87FSAVJYOLDM.,HFBCR3PAL ",
    "  NB5QLN85IOLECIE456TR!?KLMEOT1YJK ",
    "  GTK2NJXY73M.?OXTS9GKVZPYTFLX2UV4 ",
    "  LN3KXMSLUIOP4BYHDMUSRGES43MKR0TU ",
    "  WRCHFHN2Y9PGVEU1!FRY,.LMO678T4IO ",
    "  YUPVYAREZDNXYGPC27-J_HRU(HCFC5GT ",
    "  O4UL4QURLESTL7SNPW9I125LKMDCUVZH ",
    "  9V8Y!VENESUI5LGD?COLLAMEILNEVTNU ",
    "  JO?SFDYOPLKVF?21L;(QDGUI1P55ILYI ",
    "  BCZOOCA1AMBA0CWXJ3TBBCS1PU2QNXJV ",
    "  LK6UMLIWHY81-DZM12)5-ITGFCERYA   ",
    "  UHBJP54Z,?GUDFYLDKLMPRQV7THNJB   ",
    "  C6C8ZXVB356L!HV9!SAQS4IO?GBDAL   ",
    "  4YQC97!.?FS_UJTIB*PENSYMBI6SH5   ",
};

GlyphCell glyphCell(int glyph)
{
    float column = static_cast<float>(glyph % 16) / 16.0f;
    float row = static_cast<float>(glyph / 16) / 4.0f;
    return {column, column + 1.0f / 16.0f, 1.0f - row - 0.25f, 1.0f - row};
}

uint32_t listForCharacter(uint32_t base, unsigned char c)
{
    return base - 32 + c;
}

float decodingProgress(float time, float start, float end, float fadeFrom, float fadeTo)
{
    return ramp(time, start, end) - ramp(time, end + fadeFrom, end + fadeTo);
}

float colouredProgress(float time, float start, float end)
{
    return decodingProgress(time, start, end, 0.025f, 0.05f);
}

float uncolouredProgress(float time, float start, float end)
{
    return decodingProgress(time, start, end, 0.15f, 0.205f);
}

int revealedCount(float p)
{
    if (p >= 1.0f)
        return kLineLength;
    return static_cast<int>(kLineLength * p);
}

std::string decodingLine(const char* text, float p, int (*random)())
{
    int n = revealedCount(p);
    char line[kLineLength + 1] = {};
    bool textEnded = false; // the text is never read past its own NUL
    for (int i = 0; i < kLineLength; ++i) {
        if (i < n) {
            textEnded = textEnded || text[i] == '\0';
            line[i] = textEnded ? '\0' : text[i];
        } else {
            line[i] = kScrambleTable[random() % kScrambleRows][i];
        }
    }
    return line; // up to the first NUL: the text's own end, or a scramble row's
}

} // namespace bitmaptext

namespace {

struct {
    uint32_t fontBase = 0; // the first of the 128 glyph lists
} state;

// Identity, depth test on, push, translate, colour (unless left as it is),
// one glyph list per byte, pop.
void drawLine(const Vec3& position, bool coloured, float alpha, const std::string& line)
{
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    if (coloured)
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glListBase(state.fontBase - 32);
    glCallLists(static_cast<GLsizei>(line.size()), GL_UNSIGNED_BYTE, line.data());
    glPopMatrix();
}

} // namespace

void buildFont(int32_t size, float advance)
{
    state.fontBase = glGenLists(128);
    for (int g = 0; g < 128; ++g) {
        bitmaptext::GlyphCell cell = bitmaptext::glyphCell(g);
        glNewList(state.fontBase + g, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(cell.left, cell.bottom);
        glVertex2i(0, 0);
        glTexCoord2f(cell.right, cell.bottom);
        glVertex2i(size, 0);
        glTexCoord2f(cell.right, cell.top);
        glVertex2i(size, size);
        glTexCoord2f(cell.left, cell.top);
        glVertex2i(0, size);
        glEnd();
        glTranslated(advance, 0.0, 0.0); // the pen moves less than a cell: glyphs overlap
        glEndList();
    }
}

void releaseFont()
{
    if (state.fontBase != 0)
        glDeleteLists(state.fontBase, 128);
    state.fontBase = 0;
}

uint32_t fontBase()
{
    return state.fontBase;
}

void drawText(const Vec3& position, float alpha, const char* text)
{
    drawLine(position, true, alpha, text);
}

DecodedLine decodeText(const char* text, float p)
{
    if (!(p > 0.0f))
        return std::nullopt; // before start, after the fade, or not a number
    return bitmaptext::decodingLine(text, p);
}

void drawDecodedText(const Vec3& position, const DecodedLine& line, float alpha)
{
    if (line)
        drawLine(position, true, alpha, *line);
}

void drawDecodedTextUncoloured(const Vec3& position, const DecodedLine& line)
{
    if (line)
        drawLine(position, false, 1.0f, *line);
}
