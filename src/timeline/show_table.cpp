#include "timeline/show_table.h"

namespace {
const Vec3 kEmber{1.0f, 0.45f, 0.125f};
}

// --- One look per scene, in the order of the show. ---

namespace look {

WindowValues quotation(Marker w, int32_t t, const MarkerWindows& ws)
{
    float r = windowRamp(t, ws[w]);
    bool first = (w == Marker::Citation);
    float a = first ? bump(r, 0.0f, 1.0f, 2.5f) : ramp(r, 0.0f, 0.1f) - ramp(r, 0.95f, 1.0f);
    return {
        .scene = {.r = r, .mode = first ? 0 : 1},
        .backdrop = Backdrop{.colour = {0.8f, 0.8f, 0.8f}, .mode = BackdropMode::SkyB, .lightingOffAfter = true},
        .blur = {.outline = 0.0f, .tint = {0.8f, 0.8f, 0.8f}, .strength = {0.35f, 0.65f}},
        .final = {.saturation = first ? 2.0f * r + 0.35f : 1.5f,
                  .godrayintensity = 0.0f,
                  .ambientCol = {1.0f, 0.9f, 0.9f},
                  .bias = 0.01135f,
                  .focus = 0.72f,
                  .alpha = a},
    };
}

WindowValues mist(Marker w, int32_t t, const MarkerWindows& ws)
{
    float r = windowRamp(t, ws[w]);
    bool under = (w == Marker::SousLaBrume);
    float s = bump(r, 0.0f, 1.0f, 1.85f);
    float m = windowRamp(t, ws[Marker::SousLaBrume]);
    Vec3 fogAmbient = lerp({0.9f, 0.95f, 1.0f}, {1.2f, 0.85f, 0.75f}, ramp(r, 0.05f, 0.525f));
    return {
        .scene = {.r = r, .mode = under ? 1 : 0},
        .backdrop = Backdrop{.colour = {0.95f, 0.95f, 0.95f}, .mode = BackdropMode::SkyA},
        .blur = {.outline = 1.0f,
                 .tint = lerp(kEmber, {0.98f, 0.5f, 0.725f}, ramp(m, 0.0f, 0.1f)),
                 .strength = {0.85f, 0.15f}},
        .final = {.saturation = 0.62762548552f * s,
                  .godrayintensity = under ? 0.25f : 0.51f,
                  .ambientCol = under ? Vec3{0.95f, 0.95f, 1.0f} : fogAmbient,
                  .bias = (1.0f - s) * 0.0125f + 0.015285750253051612f,
                  .focus = 0.72f,
                  .alpha = s},
        .overlays = {.lensFlares = under ? 1 : 0, .lensFlaresR = r},
    };
}

WindowValues lair(Marker, int32_t t, const MarkerWindows& ws)
{
    float r = windowRamp(t, ws[Marker::OuGitLaBete]); // reaches only 0.75 inside the window
    float a = bump(r, 0.0f, 1.0f, 2.5f);
    float b = ramp(r, 0.0f, 0.1f);
    float e = 1.0f - ramp(r, 0.8f, 1.0f);
    return {
        .scene = {.r = r},
        .backdrop = Backdrop{.colour = {0.85f, 0.85f, 0.85f}, .mode = BackdropMode::SkyA, .translateY = -5.0f},
        .blur = {.outline = 1.0f, .tint = lerp(kEmber, {0.28f, 0.5f, 0.725f}, b), .strength = {0.85f, 0.15f}},
        .final = {.saturation = 0.62762547f,
                  .godrayintensity = 0.325f,
                  .ambientCol = {1.2f, 0.85f, 0.7f},
                  .bias = (1.0f - b) * 0.0125f + e * 0.01652857502530516f,
                  .focus = 0.72f,
                  .alpha = a,
                  .quad = FinalQuad::Zoom,
                  .amount = 0.8f - 0.8f * ramp(r, 0.0f, 0.125f) + ramp(r, 0.815f, 1.0f) +
                            0.4f * bump(r, 0.4f, 0.5f, 1.0f)},
        .overlays = {.lensFlares = 2, .lensFlaresR = r},
    };
}

WindowValues beast(Marker w, int32_t t, const MarkerWindows& ws)
{
    float r = windowRamp(t, ws[w]);
    bool link = (w == Marker::Linkbeast);
    FinalValues final{.saturation = 0.62762547f,
                      .godrayintensity = 0.325f,
                      .ambientCol = {1.2f, 0.85f, 0.7f},
                      .bias = 0.016528575f,
                      .focus = 0.72f,
                      .alpha = bump(r, 0.0f, 1.0f, 2.5f)};
    if (link) {
        final.quad = FinalQuad::Mirror;
        final.amount = 15.0f * r;
    }
    return {
        // In linkbeast the beast moves on the longer linkbeast2 ramp, already 0.57 there.
        .scene = {.r = link ? windowRamp(t, ws[Marker::Linkbeast2]) : r},
        .backdrop = Backdrop{.colour = {0.85f, 0.85f, 0.85f},
                             .mode = BackdropMode::SkyA,
                             .translateY = link ? -5.0f : 0.0f},
        .blur = {.outline = 1.0f,
                 .tint = link ? Vec3{1.0f, 1.0f, 1.0f} : lerp(kEmber, {0.28f, 0.5f, 0.725f}, ramp(r, 0.0f, 0.1f)),
                 .strength = {0.85f, 0.15f}},
        .final = final,
    };
}

WindowValues clouds(Marker, int32_t t, const MarkerWindows& ws)
{
    float r = windowRamp(t, ws[Marker::DansLesNuees]);
    float a = bump(r, 0.0f, 1.0f, 5.0f);
    float b = ramp(r, 0.0f, 0.1f);
    return {
        .scene = {.r = r},
        .backdrop = Backdrop{.colour = {0.75f, 0.76f, 0.8f}, .alpha = 0.95f, .mode = BackdropMode::SkyAWithFarGround},
        .blur = {.outline = 1.0f,
                 .tint = lerp({0.0f, 0.45f, 0.825f}, {0.4f, 0.25f, 0.8725f}, b),
                 .strength = {0.275f, 0.725f}},
        .final = {.saturation = 0.62762547f,
                  .godrayintensity = 0.425f,
                  .ambientCol = {1.0f, 0.85f, 1.1f},
                  .bias = 0.0128f - 0.01f * bump(r, 0.68f, 0.725f, 1.0f),
                  .focus = 0.722f,
                  .alpha = a - 0.35f * bump(r, 0.255f, 0.27f, 1.0f),
                  .colour = {0.95f, 0.95f, 0.95f, 1.0f},
                  .quad = FinalQuad::Zoom,
                  .amount = 0.4f - 0.25f * b + 0.55f * bump(r, 0.66f, 0.735f, 1.0f)},
        .overlays = {.lensFlares = 3, .lensFlaresR = r, .creditsPage = 1, .creditsR = r},
    };
}

WindowValues mushrooms(Marker, int32_t t, const MarkerWindows& ws)
{
    float r = windowRamp(t, ws[Marker::Iterations]);
    float a = bump(r, 0.0f, 1.0f, 5.0f);
    return {
        .scene = {.r = r}, // draws its own sky and ground
        .blur = {.outline = 0.0f, .tint = {1.0f, 1.0f, 1.0f}, .strength = {0.75f, 1.0f}},
        .final = {.saturation = 1.1727625f,
                  .godrayintensity = 0.3f,
                  .ambientCol = {1.0f, 1.0f, 1.05f},
                  .bias = 0.0148f,
                  .focus = 0.522f,
                  .alpha = a,
                  .quad = FinalQuad::Zoom,
                  .amount = 1.0f - 0.9f * a},
    };
}

WindowValues roots(Marker, int32_t t, const MarkerWindows& ws)
{
    float r = windowRamp(t, ws[Marker::Roots]);
    float f = ramp(r, 0.46f, 0.501f) - ramp(r, 0.501f, 0.52f); // the flash
    float g = ramp(r, 0.501f, 0.52f);
    float a = bump(r, 0.0f, 1.0f, 5.0f);
    return {
        .scene = {.r = r},
        .backdrop = Backdrop{.colour = {0.75f, 0.76f, 0.8f}, .alpha = 0.95f, .mode = BackdropMode::RootsDome},
        .blur = {.outline = 0.0f,
                 .tint = lerp({0.1f, 0.85f, 0.95f}, {1.0f, 0.9f, 0.9f}, ramp(g, 0.0f, 0.1f)),
                 .strength = {0.5f, 0.5f}},
        .final = {.saturation = 0.852762548552f * (1.0f - f),
                  .godrayintensity = 0.0f,
                  .ambientCol = {1.25f, 0.9f, 0.59f},
                  .bias = r < 0.501f ? 0.0128f : 0.01873158f - 0.022f * bump(r, 0.66f, 0.735f, 1.0f),
                  .focus = 0.322f,
                  .alpha = a - 0.4f * bump(r, 0.1825f, 0.19f, 1.0f) - 0.4f * bump(r, 0.275f, 0.285f, 1.0f),
                  .quad = FinalQuad::Zoom,
                  .amount = 0.35f - 0.25f * ramp(r, 0.0f, 0.1f) + 0.55f * bump(r, 0.66f, 0.735f, 1.0f)},
        .overlays = {.flash = f, .titleWords = titleWordFade(0, r) > 0.0f, .r = r},
    };
}

WindowValues tree(Marker w, int32_t t, const MarkerWindows& ws)
{
    float r = windowRamp(t, ws[w]);
    bool first = (w == Marker::Noname);
    return {
        .scene = {.r = r, .mode = first ? 0 : 1},
        .backdrop = Backdrop{.colour = {0.8f, 0.8f, 0.8f},
                             .mode = BackdropMode::RootsDome,
                             .lightingOff = false}, // lit as the scene leaves it
        .blur = {.outline = 1.0f, .tint = {0.5f, 0.7f, 1.0f}, .strength = {0.35f, 0.65f}},
        .final = {.saturation = 0.7276255f,
                  .godrayintensity = 0.0f,
                  .ambientCol = {1.0f, 1.0f, 1.05f},
                  .bias = 0.0148f,
                  .focus = 0.522f,
                  .alpha = first ? ramp(r, 0.0f, 0.1f) : 1.0f},
    };
}

WindowValues greetings(Marker, int32_t t, const MarkerWindows& ws)
{
    float r = windowRamp(t, ws[Marker::Greetings]);
    return {
        .scene = {.r = r},
        .blur = {.outline = 0.0f, .tint = {0.5f, 0.7f, 1.0f}, .strength = {0.35f, 0.65f}},
        .final = {.saturation = 2.5727625f,
                  .godrayintensity = 0.0f,
                  .ambientCol = {1.0f, 1.0f, 1.05f},
                  .bias = 0.0148f,
                  .focus = 0.522f,
                  .alpha = 1.0f},
        .overlays = {.glow = true, .greetingNames = true, .r = r},
    };
}

WindowValues recall(Marker, int32_t t, const MarkerWindows& ws)
{
    float r = windowRamp(t, ws[Marker::Rappel]);
    return {
        .scene = {.r = r, .mode = 1},
        .backdrop = Backdrop{.colour = {0.8f, 0.8f, 0.8f}, .mode = BackdropMode::SkyB, .lightingOffAfter = true},
        .blur = {.outline = 0.0f, .tint = {0.8f, 0.8f, 0.8f}, .strength = {0.35f, 0.65f}},
        .final = {.saturation = inWindow(t, ws[Marker::Citation]) ? 2.0f * r + 0.35f : 1.85f * (1.0f - r),
                  .godrayintensity = 0.0f,
                  .ambientCol = {1.0f, 0.9f, 0.9f},
                  .bias = 0.01135f + 0.075f * r,
                  .focus = 0.72f,
                  .alpha = 1.0f - r},
        .overlays = {.creditsPage = 0, .creditsR = r},
    };
}

} // namespace look

float titleWordFade(int i, float r)
{
    const float starts[4] = {0.005f, 0.01f, 0.015f, 0.02f};
    return bump(r, starts[i], 0.07f, 2.0f);
}

bool showEndsAt(int32_t t, const MarkerWindows& ws)
{
    // The recall ends the show itself once its ramp is past 0.98 (0.98 itself goes on).
    if (inWindow(t, ws[Marker::Rappel]) && windowRamp(t, ws[Marker::Rappel]) > 0.98f)
        return true;
    return inWindow(t, ws[Marker::Demoend]);
}

const char* windowReportName(Marker w)
{
    if (w == Marker::Count)
        return "none";
    return kMarkerDefinitions[static_cast<int>(w)].name;
}
