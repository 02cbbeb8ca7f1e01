// The credits, drawn over the running scene as decoding lines: page 1 names
// who made the art, the music and the code; page 0 is the release line in a
// translucent blue band across the middle of the screen.
#pragma once
#include <vector>

#include "core/vec3.h"
#include "gfx/bitmap_text.h"

// The lines page 0 (the release line) or page 1 (the seven names, in drawing
// order) shows at t, decoded for this frame (no GL); none for other pages.
std::vector<DecodedLine> decodeCredits(float t, int page);
// t: progress of the credits window in [0, 1]; page 0 or 1 (others only set
// the common state); lines: what decodeCredits gave for this frame.
void drawCredits(float t, int page, const std::vector<DecodedLine>& lines);

namespace credits {

struct CreditLine {
    const char* text; // centred in the 37-character decoding line by its spaces
    Vec3 position;
    float start, end; // of the reveal, in units of t
};

// Page 1's seven lines in the order they are drawn: the art, music and code groups.
extern const CreditLine kNames[7];
extern const char kReleaseLine[64];

// Page 0's band: in by t = 0.05, out between 0.85 and 0.9, at most 0.75.
float bandAlpha(float t);
// How far a credit line has resolved at t; it shows while this is above 0.
float lineProgress(const CreditLine& line, float t);

} // namespace credits
