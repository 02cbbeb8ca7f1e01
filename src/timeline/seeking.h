// Where the viewer's seek keys take the show: the arithmetic alone, so that
// the frame loop only moves the clocks to the time these give.
#pragma once
#include <cstdint>

#include "timeline/marker_table.h"

// A step back goes on from the window start at least this far behind the
// time, so that Page Up in a window's first second reaches the window before.
constexpr int32_t kPreviousWindowGraceMs = 1000;

// t moved by deltaMs, held between 0 and the start of demoend, where the show
// ends (a seek that reaches it ends the show as playing on would).
int32_t seekTarget(int32_t t, int32_t deltaMs, const MarkerWindows& windows);
// The earliest window start after t; the start of demoend when none is left.
int32_t nextWindowStart(int32_t t, const MarkerWindows& windows);
// The latest window start at or before t - kPreviousWindowGraceMs: the running
// window's own start once a second into it, else the one before; 0 when none.
int32_t previousWindowStart(int32_t t, const MarkerWindows& windows);
