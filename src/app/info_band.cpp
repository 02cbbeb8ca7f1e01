#include "app/info_band.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/time_window.h"
#include "effects/font.h"
#include "gfx/bitmap_text.h"
#include "gfx/image_manager.h"

namespace {

// The font's glyph lists are 7 units square and move the pen by 4.2.
constexpr float kGlyphUnits = 7.0f;
constexpr float kAdvanceUnits = 4.2f;

// The Latin-1 letters of UTF-8's two-byte range (second byte 0x80..0xBF after 0xC3).
char unaccented(unsigned char second)
{
    const char* letters = "AAAAAAACEEEEIIII" "DNOOOOOxOUUUUYTs" "aaaaaaaceeeeiiii" "dnooooo/ouuuuyty";
    return letters[second - 0x80];
}

} // namespace

std::string bandName(const char* utf8Name)
{
    std::string name;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(utf8Name); *c; ++c) {
        if (*c == 0xC3 && c[1] >= 0x80 && c[1] <= 0xBF)
            name.push_back(unaccented(*++c));
        else
            name.push_back(*c < 0x80 ? static_cast<char>(*c) : '?');
    }
    return name;
}

std::string infoBandText(int32_t t, const MarkerWindows& windows, double fps, bool paused)
{
    std::string line = std::to_string(t) + " ms ";
    char part[96];
    for (int i = 0; i < kMarkerCount; ++i) {
        const TimeWindow& w = windows.windows[i];
        if (!inWindow(t, w))
            continue;
        std::snprintf(part, sizeof part, " %s %.2f", bandName(kMarkerDefinitions[i].name).c_str(), windowRamp(t, w));
        line += part;
    }
    if (paused)
        std::snprintf(part, sizeof part, "  paused");
    else if (fps < 0.0)
        std::snprintf(part, sizeof part, "  -- fps");
    else
        std::snprintf(part, sizeof part, "  %.1f fps", fps);
    line += part;
    // The font holds capitals only.
    for (char& c : line)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return line;
}

void drawInfoBand(const std::string& text, int width, int height)
{
    // About 32 lines to the window's height, narrower when the line would not fit.
    float margin = 4.0f;
    float scale = std::clamp(height / 32.0f, 8.0f, 24.0f) / kGlyphUnits;
    float lineUnits = kAdvanceUnits * static_cast<float>(text.size()) + kGlyphUnits - kAdvanceUnits;
    scale = std::min(scale, (width - 2.0f * margin) / lineUnits);
    float bandHeight = kGlyphUnits * scale + 2.0f * margin;

    glUseProgram(0);
    glViewport(0, 0, width, height);
    ImageManager::beginOrtho(static_cast<float>(width), static_cast<float>(height));
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
    glRectf(0.0f, 0.0f, static_cast<float>(width), bandHeight);

    ImageManager::bind(fontTexture());
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(margin, margin, 0.0f);
    glScalef(scale, scale, 1.0f);
    glListBase(fontBase() - 32);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());

    ImageManager::endOrtho();
}
