#include "app/timedemo.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include <sys/resource.h>

#include "app/startup.h"
#include "core/show_clock.h"
#include "gfx/image_manager.h"
#include "scenes/scene_list.h"
#include "timeline/show_table.h"

FrameStats frameStats(std::vector<double> frameMs)
{
    FrameStats stats;
    stats.frames = frameMs.size();
    if (frameMs.empty())
        return stats;
    double sum = 0.0;
    for (double ms : frameMs)
        sum += ms;
    stats.meanMs = sum / static_cast<double>(frameMs.size());
    std::sort(frameMs.begin(), frameMs.end());
    size_t rank = static_cast<size_t>(std::ceil(0.95 * static_cast<double>(frameMs.size())));
    stats.p95Ms = frameMs[std::max<size_t>(rank, 1) - 1];
    stats.fps = stats.meanMs > 0.0 ? 1000.0 / stats.meanMs : 0.0;
    return stats;
}

namespace {

struct WindowTimes {
    std::vector<double> frameMs;
    double cpuMs = 0.0; // summed
};
struct {
    std::map<int, WindowTimes> windows; // by Marker, Count for none
    double firstFrameMs = -1.0;
    int32_t advanceToMs = 0;
    AdvanceTimes advance;
    double firstFrameCpuMs = -1.0; // the main thread's, from launch
} state;

// The name followed by blanks up to width characters (UTF-8 letters count once).
std::string padded(const char* name, size_t width)
{
    std::string text = name;
    size_t letters = 0;
    for (unsigned char c : text)
        letters += (c & 0xC0) != 0x80;
    if (letters < width)
        text.append(width - letters, ' ');
    return text;
}

// The most memory the process has held resident so far, in MB (2^20 bytes).
double peakResidentMb()
{
    struct rusage usage;
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0.0;
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // reported in KB
}

double meanCpu(const WindowTimes& w)
{
    return w.frameMs.empty() ? 0.0 : w.cpuMs / static_cast<double>(w.frameMs.size());
}

} // namespace

void timedemoFrame(const MarkerWindows& windows, int32_t musicMs, double frameMs, double cpuMs)
{
    WindowTimes& w = state.windows[static_cast<int>(shownWindow(musicMs, windows))];
    w.frameMs.push_back(frameMs);
    w.cpuMs += cpuMs;
}

void timedemoFirstFrame(double launchToFirstFrameMs)
{
    state.firstFrameMs = launchToFirstFrameMs;
    state.firstFrameCpuMs = showclock::threadCpuMs();
}

void timedemoAdvance(int32_t toMs, const AdvanceTimes& times)
{
    state.advanceToMs = toMs;
    state.advance = times;
}

bool timedemoReport(const std::string& reportPath, std::string& error)
{
    // Wall time, then the main thread's CPU time: on a busy machine the
    // second shows the program's own work.
    std::printf("start-up steps:\n");
    double startupTotal = 0.0, startupCpu = 0.0;
    for (const StartupStepTime& step : startupStepTimes()) {
        std::printf("  %-28s %9.1f ms %9.1f ms cpu\n", step.name.c_str(), step.ms, step.cpuMs);
        startupTotal += step.ms;
        startupCpu += step.cpuMs;
    }
    std::printf("  %-28s %9.1f ms %9.1f ms cpu\n", "total", startupTotal, startupCpu);
    std::printf("launch to first frame: %.1f ms, %.1f ms cpu\n", state.firstFrameMs, state.firstFrameCpuMs);
    const DecodeAheadTally ahead = decodeAheadTally();
    std::printf("start-up pictures: %d loaded, %d not on the decode-ahead list, %d on it and never loaded\n",
                ahead.loads, ahead.unlisted, ahead.neverLoaded);
    if (state.advance.frames > 0)
        std::printf("from 0 to %d ms, unseen: %lld frames updated in %.1f ms, %lld of them also drawn in %.1f ms\n",
                    static_cast<int>(state.advanceToMs), static_cast<long long>(state.advance.frames - state.advance.drawn),
                    state.advance.updateMs, static_cast<long long>(state.advance.drawn), state.advance.drawMs);
    const double peakMb = peakResidentMb();
    std::printf("peak resident memory: %.1f MB\n", peakMb);
    std::printf("%-22s %7s %10s %10s %9s %10s\n", "window", "frames", "mean ms", "p95 ms", "fps", "cpu ms");

    WindowTimes all;
    auto printRow = [](const std::string& name, const WindowTimes& w) {
        FrameStats s = frameStats(w.frameMs);
        std::printf("%s %7zu %10.2f %10.2f %9.1f %10.2f\n", name.c_str(), s.frames, s.meanMs, s.p95Ms, s.fps,
                    meanCpu(w));
    };
    for (auto& [window, times] : state.windows) {
        printRow(padded(windowReportName(static_cast<Marker>(window)), 22), times);
        all.frameMs.insert(all.frameMs.end(), times.frameMs.begin(), times.frameMs.end());
        all.cpuMs += times.cpuMs;
    }
    printRow(padded("whole run", 22), all);
    if (reportPath.empty())
        return true;

    FILE* file = std::fopen(reportPath.c_str(), "wb");
    if (!file) {
        error = "cannot write '" + reportPath + "': " + std::strerror(errno);
        return false;
    }
    std::fprintf(file, "{\n  \"startup\": [");
    const char* sep = "";
    for (const StartupStepTime& step : startupStepTimes()) {
        std::fprintf(file, "%s\n    {\"step\": \"%s\", \"ms\": %.3f, \"cpu_ms\": %.3f}", sep, step.name.c_str(),
                     step.ms, step.cpuMs);
        sep = ",";
    }
    std::fprintf(file, "\n  ],\n  \"launch_to_first_frame_ms\": %.3f,\n  \"launch_to_first_frame_cpu_ms\": %.3f,"
                       "\n  \"peak_resident_mb\": %.1f,"
                       "\n  \"decode_ahead\": {\"loads\": %d, \"unlisted\": %d, \"never_loaded\": %d},",
                 state.firstFrameMs, state.firstFrameCpuMs, peakMb, ahead.loads, ahead.unlisted, ahead.neverLoaded);
    if (state.advance.frames > 0)
        std::fprintf(file,
                     "\n  \"before_from\": {\"to_ms\": %d, \"updated\": %lld, \"update_ms\": %.3f, "
                     "\"drawn\": %lld, \"draw_ms\": %.3f},",
                     static_cast<int>(state.advanceToMs), static_cast<long long>(state.advance.frames - state.advance.drawn),
                     state.advance.updateMs, static_cast<long long>(state.advance.drawn), state.advance.drawMs);
    std::fprintf(file, "\n  \"windows\": [");
    sep = "";
    auto writeStats = [&](const char* name, const WindowTimes& w) {
        FrameStats s = frameStats(w.frameMs);
        std::fprintf(file, "%s\n    {\"window\": \"%s\", \"frames\": %zu, \"mean_ms\": %.3f, "
                           "\"p95_ms\": %.3f, \"fps\": %.2f, \"cpu_ms\": %.3f}",
                     sep, name, s.frames, s.meanMs, s.p95Ms, s.fps, meanCpu(w));
        sep = ",";
    };
    for (auto& [window, times] : state.windows)
        writeStats(windowReportName(static_cast<Marker>(window)), times);
    std::fprintf(file, "\n  ],\n  \"whole_show\": ");
    sep = "";
    writeStats("whole run", all);
    std::fprintf(file, "\n}\n");
    if (std::fclose(file) != 0) {
        error = "cannot write '" + reportPath + "'";
        return false;
    }
    return true;
}
