// The timedemo: every frame of a fixed-step run timed, then a report per
// window of frame times and of the main thread's own CPU time, apart from the
// driver's threads (on a software renderer, the rasteriser's).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "timeline/marker_table.h"

struct FrameStats {
    size_t frames = 0;
    double meanMs = 0.0;
    double p95Ms = 0.0;
    double fps = 0.0;
};
// Mean, 95th percentile (nearest rank) and frames per second of a set of frame times.
FrameStats frameStats(std::vector<double> frameMs);

// One frame at music time musicMs took frameMs of wall time and cpuMs of the
// main thread's CPU time.
void timedemoFrame(const MarkerWindows& windows, int32_t musicMs, double frameMs, double cpuMs);
void timedemoFirstFrame(double launchToFirstFrameMs);
// What an offline run from a later moment did before its first frame: the
// frames it ran from 0 unseen, how many of them it drew, and the wall time of
// the updated-only frames and of the drawn ones.
struct AdvanceTimes {
    int64_t frames = 0;
    int64_t drawn = 0;
    double updateMs = 0.0;
    double drawMs = 0.0;
};
// The report shows the advance to toMs when it ran any frames.
void timedemoAdvance(int32_t toMs, const AdvanceTimes& times);
// Prints the start-up steps, the per-window times and the peak resident
// memory, and writes them as a JSON report when reportPath is not empty; false
// with error when it cannot be written.
bool timedemoReport(const std::string& reportPath, std::string& error);
