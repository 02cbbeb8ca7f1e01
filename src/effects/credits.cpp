// The credits. The caller's perspective camera sees the names at z = -95; the
// release line's band is drawn in screen space.
#include "effects/credits.h"

#include <epoxy/gl.h>

#include <iterator>

#include "core/time_window.h"
#include "effects/font.h"
#include "gfx/bitmap_text.h"
#include "gfx/image_manager.h"

namespace credits {

namespace {
// Each line in a 64-byte slot, padded with spaces to centre it.
const char kArtTitle[64] = "             2D, 3D ART            ";
const char kArtName[64] = "               TALVO              ";
const char kArtRole[64] = "               PRO                 ";
const char kMusicTitle[64] = "                MUSIC              ";
const char kMusicName[64] = "             DRELLNIVAR            ";
const char kCodeTitle[64] = "            CODE, VISUALS          ";
const char kCodeName[64] = "               MERIDAN             ";
} // namespace

const char kReleaseLine[64] = "  SILVATE + KORVANE @ VEXFORT 2012 ";

const CreditLine kNames[7] = {
    {kArtTitle, {-115.0f, 42.0f, -95.0f}, 0.125f, 0.175f},
    {kArtName, {-112.0f, 37.0f, -95.0f}, 0.125f, 0.175f},
    {kArtRole, {-106.75f, 32.0f, -95.0f}, 0.125f, 0.175f},
    {kMusicTitle, {-30.0f, 42.0f, -95.0f}, 0.4f, 0.45f},
    {kMusicName, {-26.5f, 37.0f, -95.0f}, 0.4f, 0.45f},
    {kCodeTitle, {-27.0f, -25.0f, -95.0f}, 0.65f, 0.7f},
    {kCodeName, {-27.0f, -35.0f, -95.0f}, 0.65f, 0.7f},
};

float bandAlpha(float t)
{
    return (ramp(t, 0.0f, 0.05f) - ramp(t, 0.85f, 0.9f)) * 0.75f;
}

float lineProgress(const CreditLine& line, float t)
{
    return bitmaptext::uncolouredProgress(t, line.start, line.end); // as drawNames draws it
}

} // namespace credits

std::vector<DecodedLine> decodeCredits(float t, int page)
{
    std::vector<DecodedLine> lines;
    if (page == 0)
        lines.push_back(decodeText(credits::kReleaseLine, bitmaptext::uncolouredProgress(t, 0.05f, 0.7f)));
    else if (page == 1)
        for (const credits::CreditLine& line : credits::kNames)
            lines.push_back(decodeText(line.text, credits::lineProgress(line, t)));
    return lines;
}

namespace {

void drawReleaseLine(float t, const DecodedLine& line)
{
    float a = credits::bandAlpha(t);
    glColor4f(0.0f, 0.0f, 0.05f, a);
    ImageManager::beginOrtho(1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.46f);
    glVertex2f(1.0f, 0.46f);
    glVertex2f(1.0f, 0.525f);
    glVertex2f(0.0f, 0.525f);
    glEnd();

    glLineWidth(2.0f);
    glColor4f(0.7f, 0.8f, 1.0f, a);
    glBegin(GL_LINES);
    glVertex2f(0.0f, 0.46f);
    glVertex2f(1.0f, 0.46f);
    glVertex2f(1.0f, 0.525f);
    glVertex2f(0.0f, 0.525f);
    glEnd();
    ImageManager::endOrtho();

    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    ImageManager::bind(fontTexture());
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawDecodedTextUncoloured({-75.0f, -5.0f, -95.0f}, line);
}

void drawNames(const std::vector<DecodedLine>& lines)
{
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    ImageManager::bind(fontTexture());
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (size_t k = 0; k < lines.size() && k < std::size(credits::kNames); ++k)
        drawDecodedTextUncoloured(credits::kNames[k].position, lines[k]);
}

} // namespace

void drawCredits(float t, int page, const std::vector<DecodedLine>& lines)
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_FOG);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D); // the band is untextured; binding the font turns texturing on again

    if (page == 0)
        drawReleaseLine(t, lines.empty() ? DecodedLine{} : lines[0]);
    else if (page == 1)
        drawNames(lines);
}
