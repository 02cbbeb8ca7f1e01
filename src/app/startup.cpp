// The start-up sequence: every resource of the show in a fixed order, the
// loading bar advancing after each step, then the music and the frame clock.
#include "app/startup.h"

#include "app/show_context.h"
#include "core/log.h"
#include "core/show_clock.h"
#include "platform/platform.h"
#include "scenes/scene_list.h"

namespace {

struct {
    std::vector<StartupStepTime> steps;
    double lastMark = -1.0;
} state;

} // namespace

void markStartupStep(const char* name)
{
    double now = showclock::wallMs();
    if (state.lastMark < 0.0)
        state.lastMark = now;
    state.steps.push_back({name, now - state.lastMark});
    state.lastMark = now;
}

const std::vector<StartupStepTime>& startupStepTimes()
{
    return state.steps;
}

bool runStartup(ShowContext& show, int startMs)
{
    state.lastMark = showclock::wallMs();
    show.loadingBar.setTotal(startupStepCount());
    openLog();
    logWrite("%s", kLogInitHeader);
    markStartupStep("log");

    const Stage stage = show.stage();
    for (const SceneRow& row : kSceneList) {
        if (!row.step)
            continue;
        if (row.setup)
            row.setup(stage);
        show.loadingBar.advance(1, show.display);
        markStartupStep(row.step);
    }

    platform::sleepMs(500); // the full bar stays on screen for a moment
    show.sound->startAt(startMs);
    show.sound->play("data/music/drellnivar-Velmora.ogg", true);
    show.frameTimer.start();
    return true;
}
