// The score of the show: called once per frame with the music time, it draws
// every marker window that holds the time and ends the show.
#pragma once
#include <cstdint>

#include "timeline/marker_table.h"

struct FrameSequencer {
    static void drawFrame(int timeMs);
};

// The window whose picture a frame at time t shows (the last composite in the
// frame's order that holds t), or Window::Count when none does.
Window shownWindow(int32_t t, const MarkerWindows& windows);
// The name reports use for a window, "none" for Window::Count.
const char* windowReportName(Window w);
