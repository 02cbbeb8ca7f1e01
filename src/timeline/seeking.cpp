#include "timeline/seeking.h"

#include <algorithm>

namespace {

int32_t showEnd(const MarkerWindows& windows)
{
    return std::max<int32_t>(0, windows[Marker::Demoend].start);
}

} // namespace

int32_t seekTarget(int32_t t, int32_t deltaMs, const MarkerWindows& windows)
{
    int64_t target = static_cast<int64_t>(t) + deltaMs; // no overflow near the 32-bit ends
    return static_cast<int32_t>(std::clamp<int64_t>(target, 0, showEnd(windows)));
}

int32_t nextWindowStart(int32_t t, const MarkerWindows& windows)
{
    int32_t next = showEnd(windows);
    for (const TimeWindow& w : windows.windows)
        if (w.start > t && w.start < next)
            next = w.start;
    return next;
}

int32_t previousWindowStart(int32_t t, const MarkerWindows& windows)
{
    int64_t latest = static_cast<int64_t>(t) - kPreviousWindowGraceMs;
    int32_t previous = 0;
    for (const TimeWindow& w : windows.windows)
        if (w.start <= latest && w.start > previous)
            previous = w.start;
    return std::min(previous, showEnd(windows));
}
