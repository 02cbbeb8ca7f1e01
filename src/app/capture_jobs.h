// A capture split into contiguous parts, each rendered by a copy of this
// program at the same time, then joined: PNG frames numbered as one run, or
// one video made of the parts' streams as they are, with the music laid once.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/options.h"
#include "timeline/marker_table.h"

// Frames by their index on the run's fixed step from show time 0, both ends included.
struct FrameSpan {
    int64_t first = 0;
    int64_t last = 0;
    int64_t count() const { return last - first + 1; }
};

// The frames a one-process capture with these options draws: from the first
// at or after its start to the last at or before --to (at least one), or to
// the frame that ends the show when that comes sooner.
FrameSpan captureFrameSpan(const Options& options, const MarkerWindows& windows);

// The span in at most jobs contiguous parts, in order, none empty, their sizes
// differing by at most one frame.
std::vector<FrameSpan> splitFrameSpan(FrameSpan span, int jobs);

// Where a worker writes, and the data it reads.
struct WorkerPlace {
    std::string capturePath;
    std::string dataDir;
    std::string logPath;
};

// The command line (less the program) of the worker that captures fromMs to
// toMs: the run's own options, less --jobs, its range, target, data and log,
// which the worker is given instead.
std::vector<std::string> workerArguments(int argc, const char* const* argv, const WorkerPlace& place,
                                         int32_t fromMs, int32_t toMs);

// Renders the capture in options.jobs parts and joins them; the exit code.
// A single part is captured in this process.
int runCaptureJobs(const Options& options, int argc, const char* const* argv);

// In a worker, the number its first frame has in the whole run; nothing in a
// capture of its own.
std::optional<int64_t> capturePartFirstFrame();
