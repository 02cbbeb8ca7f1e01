// What a frame draws over a window's composite: the lens flares, the credits,
// the roots flash, the title words, the greetings glow and the greeted names.
#pragma once
#include <vector>

#include "gfx/bitmap_text.h"
#include "timeline/window_values.h"

// The four title words and the eight greeted names, as drawn.
extern const char* const kTitleWords[4];
extern const char* const kGreetingNames[8];

// The decoding lines of one window's overlays for one frame: the credits', then
// the greeted names' (each far, then its echo).
struct OverlayText {
    std::vector<DecodedLine> credits;
    std::vector<DecodedLine> greetings;
};

// Decodes the lines the overlays a window's values ask for show this frame,
// drawing their scrambles from the shared sequence in drawing order (no GL).
OverlayText updateOverlays(const Overlays& overlays);
// Draws the overlays a window's values ask for, in their fixed order, with the
// lines their update decoded, over a window of width x height pixels.
void drawOverlays(const Overlays& overlays, const OverlayText& text, int width, int height);
