// How a capture split into jobs cuts its range: the parts together are the
// frames of one process, and each worker, told its part's range, finds the same frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/capture_jobs.h"
#include "core/show_clock.h"
#include "script_windows.h"
#include "timeline/show_table.h"

namespace {

Options captureOptions(int fps, std::optional<int32_t> fromMs, std::optional<int32_t> toMs)
{
    Options o;
    o.capturePath = "out";
    o.fps = fps;
    o.fromMs = fromMs;
    o.toMs = toMs;
    return o;
}

} // namespace

TEST(CaptureJobs, ThePartsAreContiguousEvenAndNeverMoreThanTheFrames)
{
    const FrameSpan span{1500, 1530}; // 31 frames
    for (int jobs : {1, 2, 3, 8, 30, 31, 32, 1000}) {
        const std::vector<FrameSpan> parts = splitFrameSpan(span, jobs);
        ASSERT_EQ(static_cast<int64_t>(parts.size()), std::min<int64_t>(jobs, 31)) << jobs;
        EXPECT_EQ(parts.front().first, span.first) << jobs;
        EXPECT_EQ(parts.back().last, span.last) << jobs;
        for (size_t i = 0; i < parts.size(); ++i) {
            EXPECT_GE(parts[i].count(), 31 / static_cast<int64_t>(parts.size())) << jobs << " part " << i;
            EXPECT_LE(parts[i].count(), parts.front().count()) << jobs << " part " << i;
            if (i > 0) {
                EXPECT_EQ(parts[i].first, parts[i - 1].last + 1) << jobs << " part " << i;
            }
        }
    }
    EXPECT_EQ(splitFrameSpan({7, 7}, 4).size(), 1u) << "a one-frame capture is one job";
}

TEST(CaptureJobs, EachWorkerToldItsPartsRangeCapturesExactlyThatPart)
{
    const MarkerWindows windows = windowsFrom("");
    for (int fps : {1, 7, 10, 24, 30, 60, 144, 1000}) {
        const showclock::FrameGrid grid{fps};
        const FrameSpan whole = captureFrameSpan(captureOptions(fps, 150001, 153000), windows);
        for (const FrameSpan& part : splitFrameSpan(whole, 5)) {
            const FrameSpan told =
                captureFrameSpan(captureOptions(fps, grid.msAt(part.first), grid.msAt(part.last)), windows);
            EXPECT_EQ(told.first, part.first) << fps << " fps";
            EXPECT_EQ(told.last, part.last) << fps << " fps";
        }
    }
}

TEST(CaptureJobs, TheRangeIsThatOfAOneProcessCapture)
{
    const MarkerWindows windows = windowsFrom("");
    // Between two frames of the step: the one after --from, drawn even past --to.
    FrameSpan span = captureFrameSpan(captureOptions(10, 101, 150), windows);
    EXPECT_EQ(span.first, 2);
    EXPECT_EQ(span.last, 2);
    span = captureFrameSpan(captureOptions(10, 150000, 153000), windows);
    EXPECT_EQ(span.count(), 31);
    // The whole show ends with the frame that ends it, --to or not.
    const showclock::FrameGrid grid{25};
    for (std::optional<int32_t> to : {std::optional<int32_t>(), std::optional<int32_t>(10000000)}) {
        span = captureFrameSpan(captureOptions(25, std::nullopt, to), windows);
        EXPECT_EQ(span.first, 0);
        EXPECT_TRUE(showEndsAt(grid.msAt(span.last), windows));
        EXPECT_FALSE(showEndsAt(grid.msAt(span.last - 1), windows));
    }
}

TEST(CaptureJobs, AWorkerHasTheRunsOptionsWithItsOwnRangeTargetDataAndLog)
{
    const char* argv[] = {"velmora", "--mode", "640x400", "--jobs=4", "--capture", "out.mp4", "--fps", "10",
                          "--from", "150000", "--to=153000", "--windowed", "--log", "run.log", "--start=5",
                          "--data=d"};
    const WorkerPlace place{.capturePath = "/s/part2/part.mp4", .dataDir = "/w/d", .logPath = "/s/part2/log.txt"};
    EXPECT_EQ(workerArguments(static_cast<int>(std::size(argv)), argv, place, 151600, 153000),
              (std::vector<std::string>{"--mode", "640x400", "--fps", "10", "--windowed", "--start=5", "--capture",
                                        "/s/part2/part.mp4", "--from", "151600", "--to", "153000", "--data", "/w/d",
                                        "--log", "/s/part2/log.txt"}));
}
