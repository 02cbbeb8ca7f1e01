#include "core/frame_timer.h"

#include "core/log.h"
#include "core/show_clock.h"

float FrameTimer::now()
{
    return showclock::frameSeconds();
}

void FrameTimer::start()
{
    logWrite("%s", kLogDemoStarts);
    startTime = now();
    previous = 0.0f;
    elapsed = 0.0f;
    update();
}

void FrameTimer::update()
{
    updateAt(now());
}

void FrameTimer::updateAt(float reading)
{
    if (startTime == 0.0f)
        startTime = reading;
    elapsed = reading - startTime;
    if (elapsed < 0.0f) {
        // The clock stepped back: restart from 0 on the next update; delta keeps its value.
        startTime = 0.0f;
        previous = 0.0f;
        elapsed = 0.0f;
        return;
    }
    delta = elapsed - previous;
    previous = elapsed;
}

void FrameTimer::leaveOut(float seconds)
{
    if (startTime != 0.0f)
        startTime += seconds;
}
