#include "core/show_clock.h"

#include <time.h>

#include <algorithm>

namespace showclock {

namespace {

// Nanoseconds of the system's monotonic clock.
uint64_t counter()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
}
constexpr uint64_t kCounterFrequency = 1000000000u;

struct State {
    bool fixed = false;
    int fps = 60;
    int32_t fromMs = 0;
    int64_t frame = 0;
    bool originTaken = false;
    uint64_t origin = 0;
    bool musicStarted = false;
    uint64_t musicOrigin = 0;
    int32_t musicStartMs = 0;
} state;

uint64_t ticksSinceOrigin()
{
    uint64_t now = counter();
    if (!state.originTaken) {
        state.origin = now;
        state.originTaken = true;
    }
    return now - state.origin;
}

} // namespace

void useFixedStep(int32_t fromMs, int fps)
{
    state.fixed = true;
    state.fromMs = fromMs;
    state.fps = fps > 0 ? fps : 60;
    state.frame = 0;
}

bool isFixedStep()
{
    return state.fixed;
}

float frameSeconds()
{
    if (state.fixed)
        return 1.0f + static_cast<float>(static_cast<double>(state.frame) / state.fps);
    double ticks = static_cast<double>(ticksSinceOrigin());
    return static_cast<float>(ticks / static_cast<double>(kCounterFrequency));
}

void startMusic(int32_t startMs)
{
    state.musicStartMs = startMs;
    state.musicOrigin = counter();
    state.musicStarted = true;
}

int32_t FrameGrid::msAt(int64_t k) const
{
    return static_cast<int32_t>(k * 1000 / fps);
}

int64_t FrameGrid::firstFrom(int64_t ms) const
{
    // trunc(k * 1000 / fps) >= ms exactly when k * 1000 >= ms * fps.
    return (std::max<int64_t>(ms, 0) * fps + 999) / 1000;
}

int64_t FrameGrid::lastTo(int64_t ms) const
{
    // trunc(k * 1000 / fps) <= ms exactly when k * 1000 < (ms + 1) * fps.
    return ms < 0 ? -1 : ((ms + 1) * fps - 1) / 1000;
}

int32_t musicMsAt(int64_t k)
{
    return state.fromMs + FrameGrid{state.fps}.msAt(k);
}

int32_t musicMs()
{
    if (state.fixed)
        return musicMsAt(state.frame);
    if (!state.musicStarted)
        return 0;
    uint64_t ticks = counter() - state.musicOrigin;
    uint64_t ms = ticks * 1000 / kCounterFrequency;
    return state.musicStartMs + static_cast<int32_t>(ms);
}

void nextFrame()
{
    if (state.fixed)
        ++state.frame;
}

int64_t frameIndex()
{
    return state.frame;
}

int64_t firstFrameFrom(int32_t ms)
{
    return FrameGrid{state.fps}.firstFrom(static_cast<int64_t>(ms) - state.fromMs);
}

int64_t lastFrameTo(int32_t ms)
{
    return FrameGrid{state.fps}.lastTo(static_cast<int64_t>(ms) - state.fromMs);
}

void skipToFrame(int64_t k)
{
    if (state.fixed && k > state.frame)
        state.frame = k;
}

double wallMs()
{
    return static_cast<double>(ticksSinceOrigin()) * 1000.0 /
           static_cast<double>(kCounterFrequency);
}

double threadCpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1.0e6;
}

} // namespace showclock
