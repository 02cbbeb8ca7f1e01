// The start-up sequence: every resource of the show in a fixed order, the
// loading bar advancing after each step, then the music and the frame clock.
#include "app/startup.h"

#include <iterator>

#include "app/loading_bar.h"
#include "app/scene_table.h"
#include "core/frame_timer.h"
#include "core/log.h"
#include "core/show_clock.h"
#include "gfx/image_manager.h"
#include "gfx/terrain.h"
#include "platform/platform.h"
#include "sound/sound_manager.h"

namespace {
std::vector<StartupStepTime> gSteps;
double gLastMark = -1.0;
double gLastCpuMark = 0.0;

// The pictures that the steps load, in the order they load them.
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
    if (gLastMark < 0.0) {
        gLastMark = now;
        gLastCpuMark = cpu;
    }
    gSteps.push_back({name, now - gLastMark, cpu - gLastCpuMark});
    gLastMark = now;
    gLastCpuMark = cpu;
}

const std::vector<StartupStepTime>& startupStepTimes()
{
    return gSteps;
}

bool runStartup(int startMs)
{
    gLastMark = showclock::wallMs();
    gLastCpuMark = showclock::threadCpuMs();
    loadingBar().setTotal(startupStepCount());
    openLog();
    logWrite("%s", kLogInitHeader);
    markStartupStep("log");

    for (int i = 0; i < kSceneRowCount; ++i) {
        const SceneRow& row = kSceneTable[i];
        if (!row.name)
            continue;
        if (row.setup)
            row.setup();
        loadingBar().advance(1);
        markStartupStep(row.name);
    }

    stopDecodingAhead();

    platform::sleepMs(500); // the full bar stays on screen for a moment
    soundManager().startAt(startMs);
    soundManager().play("data/music/drellnivar-Velmora.ogg", true);
    frameTimer().start();
    return true;
}
