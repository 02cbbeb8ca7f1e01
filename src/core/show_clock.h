// The two clocks of the show: the music time in milliseconds, which decides
// what is shown, and the frame clock in seconds, which drives free motion.
// Real time reads the monotonic counter; capture and timedemo use a fixed step
// so that frame k always shows the same instant.
#pragma once
#include <cstdint>

namespace showclock {

// The fixed step's frames from show time 0, apart from the running clock:
// frame k is at trunc(k * 1000 / fps) ms.
struct FrameGrid {
    int fps = 60;
    int32_t msAt(int64_t k) const;
    // The first frame at or after ms (0 for any ms up to 0), and the last at
    // or before ms (-1 before 0).
    int64_t firstFrom(int64_t ms) const;
    int64_t lastTo(int64_t ms) const;
};

// Frame k then has music time fromMs + trunc(k * 1000 / fps) and frame clock k / fps.
void useFixedStep(int32_t fromMs, int fps);
bool isFixedStep();

// Frame-clock reading in seconds since the process's first reading (real time),
// or one second plus k / fps (fixed step), so that no reading after the first is 0.
float frameSeconds();

// Starts the monotonic music time at startMs (ignored under a fixed step).
void startMusic(int32_t startMs);
// The music time without a stream: monotonic since startMusic, or the fixed step.
int32_t musicMs();

// Fixed step: the next frame. Real time: nothing.
void nextFrame();
int64_t frameIndex();
// The music time of frame k (fixed step).
int32_t musicMsAt(int64_t k);
// Fixed step: the first frame whose music time is at least ms, and the last
// whose music time is at most ms (both at or after the fixed step's start).
int64_t firstFrameFrom(int32_t ms);
int64_t lastFrameTo(int32_t ms);
// Fixed step: moves on to frame k, leaving the frames before it out.
void skipToFrame(int64_t k);

// Milliseconds of wall time since the process's first reading, for reports.
double wallMs();
// Milliseconds of CPU time the calling thread has used, for reports.
double threadCpuMs();

} // namespace showclock
