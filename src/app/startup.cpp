// The start-up sequence: every resource of the show in a fixed order, the
// loading bar advancing after each step, then the music and the frame clock.
#include "app/startup.h"

#include "core/display_settings.h"
#include "core/frame_timer.h"
#include "app/loading_bar.h"
#include "core/log.h"
#include "core/show_clock.h"
#include "effects/sky_and_ground.h"
#include "effects/opening_text.h"
#include "effects/scenes_to_come.h"
#include "gfx/framebuffer.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"
#include "gfx/quadric.h"
#include "platform/platform.h"
#include "post/post_chain.h"
#include "post/shader_catalogue.h"
#include "sound/sound_manager.h"

namespace {
std::vector<StartupStepTime> gSteps;
double gLastMark = -1.0;

// One step done: the bar moves on, the step's time is noted.
void stepDone(const char* name)
{
    loadingBar().advance(1);
    markStartupStep(name);
}
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
    loadingBar().setTotal(22);
    openLog();
    logWrite("%s", kLogInitHeader);
    markStartupStep("log");

    for (int i = 0; i < kShaderCount; ++i) {
        createShaderProgram(static_cast<Shader>(i));
        stepDone(kShaderSources[i].name);
    }
    imageManager().buildQuadLists();
    stepDone("screen quads");
    createQuadric();
    stepDone("quadric");
    createProceduralTextures();
    stepDone("procedural textures");
    loadOverlayTexture();
    stepDone("overlay");
    setupLogoScene();
    stepDone("logo scene");
    setupSkyAndGround();
    stepDone("sky and ground");
    buildTerrainGrid();
    stepDone("terrain");
    setupBeast();
    stepDone("beast");
    setupMoonScene();
    stepDone("moon scene");
    setupRoots();
    stepDone("roots");
    setupGroundDust();
    stepDone("ground dust");
    setupStairway();
    stepDone("stairway");
    stepDone("nothing"); // the bar moves on without work
    setupOpeningText();
    stepDone("opening text");
    createFrameBuffers(DisplaySettings::width(), DisplaySettings::height());
    stepDone("framebuffers");

    platform::sleepMs(500); // the full bar stays on screen for a moment
    soundManager().startAt(startMs);
    soundManager().play("data/music/drellnivar-Velmora.ogg", true);
    frameTimer().start();
    return true;
}
