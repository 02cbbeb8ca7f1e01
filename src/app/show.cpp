#include "app/show.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/capture.h"
#include "app/settings_dialog.h"
#include "app/show_context.h"
#include "app/show_controls.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "app/timedemo.h"
#include "core/display_settings.h"
#include "core/frame_timer.h"
#include "core/log.h"
#include "core/show_clock.h"
#include "effects/overlays.h"
#include "effects/sky_and_ground.h"
#include "gfx/image_manager.h"
#include "platform/platform.h"
#include "post/post_chain.h"
#include "scenes/scene_list.h"
#include "sound/sound_manager.h"
#include "timeline/marker_table.h"
#include "timeline/show_table.h"

namespace {

const char* kWindowTitle = "Korvane & Silvate  :: Velmora";

void setGlDefaults()
{
    glClearDepth(1.0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glDisable(GL_LINE_SMOOTH);
}

void beginFrame(const DisplaySettings& display)
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    const Viewport band = display.band();
    glViewport(band.x, band.y, band.width, band.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The projection keeps the whole mode's shape, whatever the band.
    double aspect = static_cast<double>(display.width()) / display.height();
    gluPerspective(76.0, aspect, 0.01, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
}

// Every marker window that holds t, each through the post chain with its
// scene and backdrop, then its overlays.
void drawFrame(ShowContext& show, int32_t t)
{
    const MarkerWindows& windows = show.markers;
    const Stage stage = show.stage();
    const FrameTime time{.musicMs = t, .elapsed = show.frameTimer.elapsed, .delta = show.frameTimer.delta};
    for (Marker w : compositesAt(t, windows)) {
        const WindowValues v = windowValues(w, t, windows);
        runPostChain(show.images, show.display.band(), [&stage, &v, &time] {
            drawScene(stage, v.window, v.scene, time);
            if (v.backdrop)
                drawBackdrop(*v.backdrop, time.elapsed);
        }, v.blur, v.final);
        drawOverlays(v.overlays, show.display.width(), show.display.height());
    }
}

[[noreturn]] void failRun(ShowContext& show, const std::string& cause)
{
    shutdownShow(show);
    std::fprintf(stderr, "\nvelmora: %s\n", cause.c_str());
    platform::shutdown();
    std::exit(1);
}

} // namespace

void applyOptionsToSettings(const Options& options, DisplaySettings& settings)
{
    auto& modes = settings.modes;
    settings.selectedMode = defaultModeIndex(modes);
    if (options.modeWidth)
        settings.selectedMode = findOrAddMode(modes, *options.modeWidth, *options.modeHeight);
    settings.bitsPerPixelValue = 32;
    settings.aspectValue = options.aspect.value_or(2);
    settings.fullscreenValue = options.fullscreen.value_or(true);
    settings.antiAliasValue = options.antiAlias.value_or(true);
    settings.goValue = true;
}

int runShow(const Options& options)
{
    const bool capturing = !options.capturePath.empty();
    const bool offline = capturing || options.timedemo;

    // The first clock reading: every later frame-clock reading counts from here.
    FrameTimer::now();

    // A failure anywhere from here on restores the desktop before it exits.
    setFailureHook(platform::shutdown);
    setMessageBoxHook(platform::messageBox);
    std::string error;
    if (!platform::initVideo(error)) {
        std::fprintf(stderr, "velmora: no display available (%s)\n", error.c_str());
        return 1;
    }
    if (offline)
        platform::setMessageBoxesEnabled(false);

    ShowContext show(!offline);
    const DisplaySettings& display = show.display;
    // The script is watched from right after its first reading, so that no change goes unseen.
    if (!offline)
        startShowControls(options.dev);

    applyOptionsToSettings(options, show.display);
    // Without --go the viewer confirms or changes these choices first; batch runs never ask.
    if (!options.go && !offline)
        showSettingsDialog(show.display);
    if (!display.go()) {
        platform::shutdown();
        return 0;
    }

    int32_t from = firstShownMs(options);
    const TimeWindow& end = show.markers[Marker::Demoend];
    if (options.timedemo && (from > end.start || options.toMs.value_or(0) > end.end)) {
        std::fprintf(stderr, "velmora: the timedemo range lies outside the show (0 to %d ms)\n%s",
                     static_cast<int>(end.end), kUsageLine);
        platform::shutdown();
        return 2;
    }
    if (offline)
        showclock::useFixedStep(from, options.fps);

    platform::WindowRequest request{kWindowTitle, display.width(), display.height(), display.fullscreen(),
                                    display.bitsPerPixel()};
    if (!platform::openWindow(request, error)) {
        std::fprintf(stderr, "velmora: cannot open a window with OpenGL: %s\n", error.c_str());
        platform::shutdown();
        return 1;
    }
    if (epoxy_gl_version() < 20) {
        std::fprintf(stderr, "velmora: OpenGL 2.0 is needed, the driver offers %d.%d\n",
                     epoxy_gl_version() / 10, epoxy_gl_version() % 10);
        platform::shutdown();
        return 1;
    }
    platform::showWindow();
    if (offline)
        platform::disableSwapWait();

    setGlDefaults();
    platform::showCursor(!display.fullscreen());
    runStartup(show, from);
    platform::sleepMs(300);
    platform::raiseWindow();

    if (capturing && !openCapture(options, display.width(), display.height(), error))
        failRun(show, error);
    // The offline range ends at --to, else where the show ends. A timedemo
    // stops short of --to, so that a window's own bounds measure it alone.
    int32_t last = options.toMs.value_or(end.start);
    if (options.timedemo && options.toMs && last > from)
        last -= 1;
    int64_t totalFrames = (static_cast<int64_t>(last) - from) * options.fps / 1000 + 1;
    double progressStart = showclock::wallMs();
    bool first = true;

    for (;;) {
        platform::Event event;
        platform::PumpResult pumped = platform::pumpOneEvent(event);
        if (pumped == platform::PumpResult::Quit)
            break;
        if (pumped == platform::PumpResult::Handled) {
            answerEvent(show, event);
            continue; // a frame only when nothing is waiting
        }
        if (!showFrameWanted(show)) {
            platform::sleepMs(10); // paused: the picture on screen stays as it is
            continue;
        }

        double frameStart = showclock::wallMs();
        double cpuStart = showclock::threadCpuMs();
        beginFrame(display);
        show.frameTimer.update();
        int32_t t = show.sound->time(); // the music time of this frame
        drawFrame(show, t);
        show.images.drawOverlay();
        finishShowFrame(show, t);
        glFlush();
        if (showEndsAt(t, show.markers))
            platform::postQuit(0);

        if (capturing) {
            if (!captureFrame(error))
                failRun(show, error);
            int64_t done = showclock::frameIndex() + 1;
            double seconds = (showclock::wallMs() - progressStart) / 1000.0;
            showProgress(done, totalFrames, seconds > 0.0 ? done / seconds : 0.0);
        }
        if (options.timedemo)
            glFinish(); // time the drawing, not just the queueing
        platform::swapBuffers();
        if (options.timedemo) {
            double now = showclock::wallMs();
            timedemoFrame(show.markers, t, now - frameStart, showclock::threadCpuMs() - cpuStart);
            if (first)
                timedemoFirstFrame(now);
        }
        first = false;
        if (offline) {
            showclock::nextFrame();
            if (showclock::musicMs() > last)
                platform::postQuit(0);
        } else {
            platform::sleepMs(1);
        }
    }

    int exitCode = platform::quitCode();
    // The last frame is read back while the window, and GL, are still there.
    if (capturing && !closeCapture(error)) {
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        exitCode = 1;
    }
    stopShowControls();
    shutdownShow(show);
    if (options.timedemo && !timedemoReport(options.reportPath, error)) {
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        exitCode = 1;
    }
    platform::shutdown();
    return exitCode;
}
