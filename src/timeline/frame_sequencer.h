// The score of the show: for a music time, which marker windows run their
// composite, in which order, with which values, and whether the show ends.
// It decides; the frame loop draws what it decides.
#pragma once
#include <cstdint>
#include <vector>

#include "timeline/marker_table.h"
#include "timeline/window_values.h"

// The windows whose composite runs at t, in the order a frame draws them.
std::vector<Marker> compositesAt(int32_t t, const MarkerWindows& windows);
// Every value of a window's composite at t (the window holds t).
WindowValues windowValues(Marker w, int32_t t, const MarkerWindows& windows);
// Whether the frame at t is the show's last: the recall past r = 0.98, or demoend.
bool showEndsAt(int32_t t, const MarkerWindows& windows);

// The fade of title word i (0..3) at the roots ramp r.
float titleWordFade(int i, float r);

// The window whose picture a frame at time t shows (the last composite in the
// frame's order that holds t), or Marker::Count when none does.
Marker shownWindow(int32_t t, const MarkerWindows& windows);
// The name reports use for a window, "none" for Marker::Count.
const char* windowReportName(Marker w);
