// What a frame draws over a window's composite: the lens flares, the credits,
// the roots flash, the title words, the greetings glow and the greeted names.
#pragma once
#include "timeline/window_values.h"

// The four title words and the eight greeted names, as drawn.
extern const char* const kTitleWords[4];
extern const char* const kGreetingNames[8];

// Draws the overlays a window's values ask for, in their fixed order, over a
// window of width x height pixels.
void drawOverlays(const Overlays& overlays, int width, int height);
