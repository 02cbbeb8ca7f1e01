// The info band: one line of the bitmap font across the bottom of the window,
// with the show time, the windows running at it with their ramps, and the
// frame rate (or "paused").
#pragma once
#include <cstdint>
#include <string>

#include "timeline/marker_table.h"

// A window's name as the font can draw it: accented letters lose their accents.
std::string bandName(const char* utf8Name);
// The line, in capitals as the font has no others:
// "31234 MS  DANS_LE_BROUILLARD 0.60  24.5 FPS". fps below 0 reads "-- FPS"
// (nothing measured yet).
std::string infoBandText(int32_t t, const MarkerWindows& windows, double fps, bool paused);
// Draws the line on a dark strip across the whole window of width x height
// pixels, over whatever the frame holds.
void drawInfoBand(const std::string& text, int width, int height);
