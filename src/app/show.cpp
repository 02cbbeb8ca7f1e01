#include "app/show.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
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
#include "effects/flow_field.h"
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

// The clocks the scenes read in the frame at t.
FrameTime frameTime(const ShowContext& show, int32_t t)
{
    return {.musicMs = t, .elapsed = show.frameTimer.elapsed, .delta = show.frameTimer.delta};
}

// A window's share of a frame's update (no GL): its scene's, then its
// overlays', whose decoded lines its draw shows.
OverlayText updateWindow(const WindowValues& v, const FrameTime& time, FlowField& flow)
{
    updateScene(v.window, v.scene, time, flow);
    return updateOverlays(v.overlays);
}

// The frame at t without drawing: every window's update, as drawFrame runs them.
void updateFrame(const ShowContext& show, int32_t t, FlowField& flow)
{
    const MarkerWindows& windows = show.markers;
    const FrameTime time = frameTime(show, t);
    for (Marker w : compositesAt(t, windows))
        updateWindow(windowValues(w, t, windows), time, flow);
}

// Every marker window that holds t: its update, then its composite through the
// post chain with its scene and backdrop, then its overlays. Each window is
// updated right before its own draw, so that the draw reads what its update
// left even where a later window of the frame moves the same smoke or flow
// field on (the mist's last frame is the lair's first).
void drawFrame(ShowContext& show, int32_t t, FlowField& flow)
{
    const MarkerWindows& windows = show.markers;
    const Stage stage = show.stage();
    const FrameTime time = frameTime(show, t);
    for (Marker w : compositesAt(t, windows)) {
        const WindowValues v = windowValues(w, t, windows);
        const OverlayText text = updateWindow(v, time, flow);
        runPostChain(show.images, show.display.band(), [&stage, &v, &time, &flow] {
            drawScene(stage, v.window, v.scene, time, flow);
            if (v.backdrop)
                drawBackdrop(*v.backdrop, time.elapsed);
        }, v.blur, v.final);
        drawOverlays(v.overlays, text, show.display.width(), show.display.height());
    }
}

// One whole frame into the back buffer.
void drawShowFrame(ShowContext& show, int32_t t, FlowField& flow)
{
    beginFrame(show.display);
    drawFrame(show, t, flow);
    show.images.drawOverlay();
    finishShowFrame(show, t);
    glFlush();
}

// The music time of this frame.
int32_t musicTime(const ShowContext& show)
{
    return show.sound->time();
}

// Whether a window that holds t holds no more at next.
bool aWindowCloses(int32_t t, int32_t next, const MarkerWindows& windows)
{
    const std::vector<Marker> after = compositesAt(next, windows);
    for (Marker w : compositesAt(t, windows))
        if (std::find(after.begin(), after.end(), w) == after.end())
            return true;
    return false;
}

// An offline run that starts later than 0 first runs the show from 0 at its
// own step without showing it, so that its frames show what the whole run
// shows at the same moments. Every frame's updates run. The last frame of each
// window and the frame right before from are also drawn, unseen: a scene may
// draw with GL state an earlier window left (the tree's first shot is lit by
// the light of the roots' last frame), and only drawing leaves it. Past the
// frame that ends the show nothing moves on: the clock goes straight to from.
AdvanceTimes advanceTo(ShowContext& show, int32_t from, FlowField& flow)
{
    const MarkerWindows& windows = show.markers;
    AdvanceTimes times;
    while (musicTime(show) < from) {
        show.frameTimer.update();
        const int32_t t = musicTime(show);
        const int32_t next = showclock::musicMsAt(showclock::frameIndex() + 1);
        const double start = showclock::wallMs();
        if (next >= from || aWindowCloses(t, next, windows)) {
            drawShowFrame(show, t, flow);
            glFinish();
            times.drawn += 1;
            times.drawMs += showclock::wallMs() - start;
        } else {
            updateFrame(show, t, flow);
            times.updateMs += showclock::wallMs() - start;
        }
        times.frames += 1;
        showclock::nextFrame();
        if (showEndsAt(t, windows))
            showclock::skipToFrame(showclock::firstFrameFrom(from));
    }
    return times;
}

[[noreturn]] void failRun(ShowContext& show, const std::string& cause)
{
    shutdownShow(show);
    std::fprintf(stderr, "\nvelmora: %s\n", cause.c_str());
    platform::shutdown();
    std::exit(1);
}

// What a run carries from its set-up through its frames to its tear-down.
struct Run {
    const Options& options;
    ShowContext& show;
    FlowField flow;         // the flow field the scenes step and read, frame to frame
    int32_t from = 0;       // the first frame's music time
    int32_t last = 0;       // an offline run's last music time
    int64_t firstFrame = 0; // the frame clock's index of the first frame shown
    int64_t totalFrames = 0;
    double startMs = 0.0;   // wall time at the first frame
    bool first = true;
};

// An offline run first runs the show unseen up to --from, then steps frame by
// frame up to --to, else to where the show ends. A timedemo stops short of
// --to, so that a window's own bounds measure it alone.
AdvanceTimes startOffline(Run& run)
{
    const AdvanceTimes advance = advanceTo(run.show, run.from, run.flow);
    run.last = run.options.toMs.value_or(run.show.markers[Marker::Demoend].start);
    if (run.options.timedemo && run.options.toMs && run.last > run.from)
        run.last -= 1;
    run.firstFrame = showclock::frameIndex();
    // The first frame is drawn even where the step passes over --to.
    run.totalFrames = std::max<int64_t>(showclock::lastFrameTo(run.last) - run.firstFrame + 1, 1);
    run.startMs = showclock::wallMs();
    return advance;
}

// The next offline frame, or the end of the run past its last.
void stepOffline(const Run& run)
{
    showclock::nextFrame();
    if (showclock::musicMs() > run.last)
        platform::postQuit(0);
}

// The three ways of running the show. Each has its set-up after start-up, its
// end of a frame after the frame all three draw alike, and its tear-down while
// the window and GL are still there; false with error on a failure.
struct RunMode {
    bool (*setup)(Run& run, std::string& error);
    // t is the frame's music time; the frame began at frameStartMs of wall time
    // and cpuStartMs of the main thread's CPU time.
    bool (*endFrame)(Run& run, int32_t t, double frameStartMs, double cpuStartMs, std::string& error);
    bool (*tearDown)(Run& run, std::string& error);
};

const RunMode kRealTime = {
    .setup = [](Run&, std::string&) { return true; },
    .endFrame = [](Run&, int32_t, double, double, std::string&) {
        platform::swapBuffers();
        platform::sleepMs(1);
        return true;
    },
    .tearDown = [](Run&, std::string&) { return true; },
};

const RunMode kCapture = {
    .setup = [](Run& run, std::string& error) {
        const DisplaySettings& display = run.show.display;
        if (!openCapture(run.options, display.width(), display.height(), error))
            return false;
        if (run.from > 0)
            std::fprintf(stderr, "capture: the show runs unseen from 0 to %d ms first\n", static_cast<int>(run.from));
        startOffline(run);
        return true;
    },
    .endFrame = [](Run& run, int32_t, double, double, std::string& error) {
        if (!captureFrame(error))
            return false;
        int64_t done = showclock::frameIndex() - run.firstFrame + 1;
        double seconds = (showclock::wallMs() - run.startMs) / 1000.0;
        showProgress(done, run.totalFrames, seconds > 0.0 ? done / seconds : 0.0);
        platform::swapBuffers();
        stepOffline(run);
        return true;
    },
    // The last frame is read back while the window, and GL, are still there.
    .tearDown = [](Run&, std::string& error) { return closeCapture(error); },
};

const RunMode kTimedemo = {
    .setup = [](Run& run, std::string&) {
        timedemoAdvance(run.from, startOffline(run));
        return true;
    },
    .endFrame = [](Run& run, int32_t t, double frameStartMs, double cpuStartMs, std::string&) {
        glFinish(); // time the drawing, not just the queueing
        platform::swapBuffers();
        double now = showclock::wallMs();
        timedemoFrame(run.show.markers, t, now - frameStartMs, showclock::threadCpuMs() - cpuStartMs);
        if (run.first)
            timedemoFirstFrame(now);
        stepOffline(run);
        return true;
    },
    // The report is written once the show is shut down.
    .tearDown = [](Run&, std::string&) { return true; },
};

enum class Turn { Next, Quit, Failed };

// One turn of the loop: an event answered, or a frame drawn and ended by the
// run's mode (Failed, with error, when the mode fails).
Turn runOneTurn(Run& run, const RunMode& mode, std::string& error)
{
    platform::Event event;
    platform::PumpResult pumped = platform::pumpOneEvent(event);
    if (pumped == platform::PumpResult::Quit)
        return Turn::Quit;
    if (pumped == platform::PumpResult::Handled) {
        answerEvent(run.show, event);
        return Turn::Next; // a frame only when nothing is waiting
    }
    if (!showFrameWanted(run.show)) {
        platform::sleepMs(10); // paused: the picture on screen stays as it is
        return Turn::Next;
    }
    double frameStart = showclock::wallMs();
    double cpuStart = showclock::threadCpuMs();
    run.show.frameTimer.update();
    int32_t t = musicTime(run.show);
    drawShowFrame(run.show, t, run.flow);
    if (showEndsAt(t, run.show.markers))
        platform::postQuit(0);
    bool ok = mode.endFrame(run, t, frameStart, cpuStart, error);
    run.first = false;
    return ok ? Turn::Next : Turn::Failed;
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

namespace {

// The platform's video, with SDL's off-screen driver for an offline run that
// finds no display; false after saying why.
bool openVideo(bool offline)
{
    std::string error;
    if (!platform::initVideo(error, offline)) {
        std::fprintf(stderr, "velmora: no display available (%s); --capture and --timedemo work without one\n",
                     error.c_str());
        return false;
    }
    if (offline)
        platform::setMessageBoxesEnabled(false);
    return true;
}

// The display settings from the command line and, without --go, from the
// dialog; the run's exit code where the run ends here.
std::optional<int> chooseSettings(const Options& options, ShowContext& show, bool offline)
{
    // The script is watched from right after its first reading, so that no change goes unseen.
    if (!offline)
        startShowControls(options.dev);

    applyOptionsToSettings(options, show.display);
    // Without --go the viewer confirms or changes these choices first; batch runs never ask.
    if (!options.go && !offline)
        showSettingsDialog(show.display);
    if (!show.display.go())
        return 0;

    const TimeWindow& end = show.markers[Marker::Demoend];
    if (options.timedemo && (firstShownMs(options) > end.start || options.toMs.value_or(0) > end.end)) {
        std::fprintf(stderr, "velmora: the timedemo range lies outside the show (0 to %d ms)\n%s",
                     static_cast<int>(end.end), kUsageLine);
        return 2;
    }
    return std::nullopt;
}

// The show's window with an OpenGL 2.0 context, shown; false after saying why.
bool openShowWindow(const DisplaySettings& display, bool offline)
{
    std::string error;
    platform::WindowRequest request{kWindowTitle, display.width(), display.height(), display.fullscreen(),
                                    display.bitsPerPixel()};
    if (!platform::openWindow(request, error)) {
        std::fprintf(stderr, "velmora: cannot open a window with OpenGL: %s\n", error.c_str());
        return false;
    }
    if (epoxy_gl_version() < 20) {
        std::fprintf(stderr, "velmora: OpenGL 2.0 is needed, the driver offers %d.%d\n",
                     epoxy_gl_version() / 10, epoxy_gl_version() % 10);
        return false;
    }
    platform::showWindow();
    if (offline)
        platform::disableSwapWait();
    return true;
}

// The show's frames in the run's mode, from its set-up to its tear-down and
// the show's shutdown; the run's exit code.
int runFrames(const Options& options, ShowContext& show, int32_t from)
{
    const RunMode& mode = !options.capturePath.empty() ? kCapture : options.timedemo ? kTimedemo : kRealTime;
    Run run{.options = options, .show = show, .from = from};
    std::string error;
    if (!mode.setup(run, error))
        failRun(show, error);
    for (Turn turn = Turn::Next; turn != Turn::Quit;) {
        turn = runOneTurn(run, mode, error);
        if (turn == Turn::Failed)
            failRun(show, error);
    }

    int exitCode = platform::quitCode();
    if (!mode.tearDown(run, error)) {
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        exitCode = 1;
    }
    stopShowControls();
    shutdownShow(show);
    if (options.timedemo && !timedemoReport(options.reportPath, error)) {
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        exitCode = 1;
    }
    return exitCode;
}

} // namespace

int runShow(const Options& options)
{
    const bool offline = !options.capturePath.empty() || options.timedemo;

    // The first clock reading: every later frame-clock reading counts from here.
    FrameTimer::now();
    startStartupWorkAhead();

    // A failure anywhere from here on restores the desktop before it exits.
    setFailureHook(platform::shutdown);
    setMessageBoxHook(platform::messageBox);
    if (!openVideo(offline))
        return 1;

    ShowContext show(!offline);
    if (std::optional<int> ended = chooseSettings(options, show, offline)) {
        platform::shutdown();
        return *ended;
    }
    // Offline frames count from show time 0, whatever --from says: frame k
    // then has the clocks it has in a whole run.
    if (offline)
        showclock::useFixedStep(0, options.fps);
    if (!openShowWindow(show.display, offline)) {
        platform::shutdown();
        return 1;
    }

    setGlDefaults();
    platform::showCursor(!show.display.fullscreen());
    const int32_t from = firstShownMs(options);
    runStartup(show, from);
    platform::sleepMs(300);
    platform::raiseWindow();

    const int exitCode = runFrames(options, show, from);
    platform::shutdown();
    return exitCode;
}
