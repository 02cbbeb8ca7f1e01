#include "app/startup.h"

#include "app/frame_timer.h"
#include "app/log.h"
#include "app/show_clock.h"
#include "platform/platform.h"
#include "sound/sound_manager.h"

namespace {
std::vector<StartupStepTime> gSteps;
double gLastMark = -1.0;
}

void markStartupStep(const char* name)
{
    double now = showclock::wallMs();
    if (gLastMark < 0.0)
        gLastMark = now;
    gSteps.push_back({name, now - gLastMark});
    gLastMark = now;
}

const std::vector<StartupStepTime>& startupStepTimes()
{
    return gSteps;
}

bool runStartup(int startMs)
{
    gLastMark = showclock::wallMs();
    openLog();
    logWrite("%s", kLogInitHeader);
    markStartupStep("log");

    platform::sleepMs(500); // the full bar stays on screen for a moment
    soundManager().startAt(startMs);
    soundManager().play("data/music/drellnivar-Velmora.ogg", true);
    frameTimer().start();
    return true;
}
