// The start-up sequence: every resource of the show in a fixed order, the
// loading bar advancing after each step, then the music and the frame clock.
#include "app/startup.h"

#include <iterator>

#include "app/show_context.h"
#include "core/log.h"
#include "core/show_clock.h"
#include "gfx/image_manager.h"
#include "gfx/terrain.h"
#include "platform/platform.h"
#include "scenes/scene_list.h"

namespace {

struct {
    std::vector<StartupStepTime> steps;
    double lastMark = -1.0;
    double lastCpuMark = 0.0;
} state;


// The pictures that the steps load, in the order they load them. A list
// that drifts from the loads only costs time; the timedemo says when it has.
const char* const kStartupPictures[] = {
    "data/gfx/overlay.png",
    "data/gfx/smoke1.png",
    "data/gfx/smoke4.png",
    "data/3D/logo2.png",
    "data/3D/logo2ao.png",
    "data/3D/logo2map.png",
    "data/gfx/roots.png",
    "data/gfx/CGSkies_0225_thumblarge.jpg",
    "data/gfx/CGSkies_0092_thumblarge.jpg",
    "data/gfx/ground.jpg",
    "data/gfx/moon.png",
    "data/gfx/chaos_color.png",
    "data/gfx/normal1.jpg",
    "data/3D/shrooms5col2.jpg",
    "data/3D/shrooms5Nor2.jpg",
    "data/3D/shrooms4col.png",
    "data/3D/shrooms4Nor.png",
    "data/gfx/starflare.png",
    "data/gfx/modern-space.png",
    "data/3D/starttext.jpg",
};
} // namespace

void startStartupWorkAhead()
{
    startTerrainHeights();
    decodeAhead({std::begin(kStartupPictures), std::end(kStartupPictures)});
}

void markStartupStep(const char* name)
{
    double now = showclock::wallMs();
    double cpu = showclock::threadCpuMs();
    if (state.lastMark < 0.0) {
        state.lastMark = now;
        state.lastCpuMark = cpu;
    }
    state.steps.push_back({name, now - state.lastMark, cpu - state.lastCpuMark});
    state.lastMark = now;
    state.lastCpuMark = cpu;
}

const std::vector<StartupStepTime>& startupStepTimes()
{
    return state.steps;
}

bool runStartup(ShowContext& show, int startMs)
{
    state.lastMark = showclock::wallMs();
    state.lastCpuMark = showclock::threadCpuMs();
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

    stopDecodingAhead();

    platform::sleepMs(500); // the full bar stays on screen for a moment
    show.sound->startAt(startMs);
    show.sound->play("data/music/drellnivar-Velmora.ogg", true);
    show.frameTimer.start();
    return true;
}
