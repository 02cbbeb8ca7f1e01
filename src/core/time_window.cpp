#include "core/time_window.h"

#include <cmath>

bool inWindow(int32_t t, const TimeWindow& window)
{
    return window.start <= t && window.end >= t;
}

float windowRamp(int32_t t, const TimeWindow& window)
{
    if (window.start >= t)
        return 0.0f;
    if (window.end <= t)
        return 1.0f;
    // Taken in 64 bits: a script may put the bounds anywhere in the 32-bit range.
    int64_t done = static_cast<int64_t>(t) - window.start;
    int64_t length = static_cast<int64_t>(window.end) - window.start;
    return static_cast<float>(done) / static_cast<float>(length);
}

float ramp(float x, float a, float b)
{
    if (a >= x)
        return 0.0f;
    if (x >= b)
        return 1.0f;
    return (x - a) / (b - a);
}

float bump(float x, float a, float b, float amp)
{
    if (a >= x)
        return 0.0f;
    if (x >= b)
        return 0.0f;
    // The show's pi is the single-precision 3.141592, and the angle is rounded to float.
    const float pi = 3.141592f;
    float p = (x - a) / (b - a) * pi;
    float v = std::sin(p) * amp;
    if (v < 0.0f)
        return 0.0f;
    if (v > 1.0f)
        return 1.0f;
    return v;
}
