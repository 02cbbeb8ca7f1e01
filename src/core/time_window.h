// The four functions that turn music time into window tests, ramps and bumps.
// Their exact 32-bit behaviour at the bounds is relied on throughout the show.
#pragma once
#include <cstdint>

// A span of music time in milliseconds, both ends inclusive.
struct TimeWindow {
    int32_t start;
    int32_t end;
};

// start <= t <= end.
bool inWindow(int32_t t, const TimeWindow& window);
// 0 at or before start, 1 at or after end, linear between; never divides by zero.
float windowRamp(int32_t t, const TimeWindow& window);
// The same shape on floats; a NaN x passes through as NaN.
float ramp(float x, float a, float b);
// amp * sin(pi * (x - a) / (b - a)) strictly inside (a, b), clamped to [0, 1]; 0 elsewhere.
float bump(float x, float a, float b, float amp);
