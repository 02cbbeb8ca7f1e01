#include "app/startup.h"

#include "app/frame_timer.h"
#include "app/log.h"
#include "app/show_clock.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"
#include "gfx/quadric.h"
#include "platform/platform.h"

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
    imageManager().buildQuadLists();
    markStartupStep("quad lists");
    createQuadric();
    markStartupStep("quadric");
    createProceduralTextures();
    markStartupStep("procedural textures");
    loadOverlayTexture();
    markStartupStep("overlay");

    platform::sleepMs(500); // the full bar stays on screen for a moment
    showclock::startMusic(startMs);
    frameTimer().start();
    return true;
}
