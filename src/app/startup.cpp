// The start-up sequence: every resource of the show in a fixed order, the
// loading bar advancing after each step, then the music and the frame clock.
#include "app/startup.h"

#include "app/loading_bar.h"
#include "core/frame_timer.h"
#include "core/log.h"
#include "core/show_clock.h"
#include "platform/platform.h"
#include "scenes/scene_list.h"
#include "sound/sound_manager.h"

namespace {
std::vector<StartupStepTime> gSteps;
double gLastMark = -1.0;
} // namespace

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
    loadingBar().setTotal(startupStepCount());
    openLog();
    logWrite("%s", kLogInitHeader);
    markStartupStep("log");

    for (const SceneRow& row : kSceneList) {
        if (!row.step)
            continue;
        if (row.setup)
            row.setup();
        loadingBar().advance(1);
        markStartupStep(row.step);
    }

    platform::sleepMs(500); // the full bar stays on screen for a moment
    soundManager().startAt(startMs);
    soundManager().play("data/music/drellnivar-Velmora.ogg", true);
    frameTimer().start();
    return true;
}
