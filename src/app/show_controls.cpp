#include "app/show_controls.h"

#include <epoxy/gl.h>

#include <cstdio>
#include <string>

#include "app/info_band.h"
#include "app/show_context.h"
#include "core/data_dir.h"
#include "core/log.h"
#include "core/show_clock.h"
#include "platform/file_watch.h"
#include "timeline/seeking.h"

const char* const kScriptFile = "data/heaven.scpt";

namespace {

struct {
    bool started = false;
    platform::FileWatch watch;
    bool watching = false;

    bool pauseAsked = false;  // the next frame is the one held
    bool paused = false;
    bool frameAsked = false;  // paused, but moved: one frame at the new time
    bool presentAsked = false; // paused: show the held picture again
    float pausedReading = 0.0f; // the frame clock when the pause began or last drew

    GLuint heldPicture = 0; // the paused frame without the band
    int32_t heldMs = 0;

    bool band = false;
    double fps = -1.0;
    int frames = 0;
    double fpsSince = 0.0;
} state;

void drawBand(const ShowContext& show, int32_t t)
{
    drawInfoBand(infoBandText(t, show.markers, state.fps, state.paused), show.display.width(),
                 show.display.height());
}

void countFrame()
{
    double now = showclock::wallMs();
    if (state.frames == 0)
        state.fpsSince = now;
    ++state.frames;
    if (now - state.fpsSince >= 500.0) {
        state.fps = (state.frames - 1) * 1000.0 / (now - state.fpsSince);
        state.frames = 1;
        state.fpsSince = now;
    }
}

// The frame clock leaves out the time spent paused since the last reading.
void leavePauseOut(ShowContext& show)
{
    float now = FrameTimer::now();
    show.frameTimer.leaveOut(now - state.pausedReading);
    state.pausedReading = now;
}

void holdPicture(const DisplaySettings& display)
{
    if (state.heldPicture == 0)
        glGenTextures(1, &state.heldPicture);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, state.heldPicture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glReadBuffer(GL_BACK);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 0, 0, display.width(), display.height(), 0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// The held picture pixel for pixel, the band over it when on, then the swap.
void presentHeldPicture(ShowContext& show)
{
    glUseProgram(0);
    glViewport(0, 0, show.display.width(), show.display.height());
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, state.heldPicture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    show.images.drawFullScreenQuad(); // depth testing off
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (state.band)
        drawBand(show, state.heldMs);
    platform::swapBuffers();
}

void reloadScript(ShowContext& show)
{
    std::string why;
    if (reloadTimeline(dataFile(kScriptFile).c_str(), show.markers, why)) {
        logWrite(" -> Script :: '%s' reloaded. \n", kScriptFile);
    } else {
        logWrite(" -> Script :: '%s' not reloaded (%s). \n", kScriptFile, why.c_str());
        std::fprintf(stderr, "velmora: %s not reloaded (%s); the show keeps its timeline\n", kScriptFile, why.c_str());
    }
    state.frameAsked = state.paused;
}

void moveTo(ShowContext& show, int32_t ms)
{
    int32_t from = show.sound->time();
    int32_t to = seekTarget(ms, 0, show.markers);
    show.sound->seek(to);
    logWrite(" -> Show :: moved from %d ms to %d ms. \n", from, to);
    state.frameAsked = state.paused;
}

void togglePause(ShowContext& show)
{
    if (state.pauseAsked || !state.paused) {
        state.pauseAsked = !state.pauseAsked; // a second Space before the held frame cancels
        return;
    }
    leavePauseOut(show);
    show.sound->resume();
    state.paused = false;
    state.frameAsked = false;
    state.frames = 0;
    logWrite(" -> Show :: resumed at %d ms. \n", show.sound->time());
}

} // namespace

void startShowControls(bool dev)
{
    state.started = true;
    if (!dev)
        return;
    std::string error;
    state.watching = state.watch.start(dataFile(kScriptFile), error);
    if (!state.watching)
        std::fprintf(stderr, "velmora: %s is not watched (%s)\n", kScriptFile, error.c_str());
}

void stopShowControls()
{
    state.watch.stop();
    state.watching = false;
    if (state.heldPicture != 0)
        glDeleteTextures(1, &state.heldPicture);
    state.heldPicture = 0;
    state.started = false;
}

void answerEvent(ShowContext& show, const platform::Event& event)
{
    if (!state.started)
        return;
    const MarkerWindows& windows = show.markers;
    int32_t now = show.sound->time();
    switch (event.key) {
    case platform::Key::Space: togglePause(show); break;
    case platform::Key::Left: moveTo(show, seekTarget(now, -5000, windows)); break;
    case platform::Key::Right: moveTo(show, seekTarget(now, 5000, windows)); break;
    case platform::Key::PageUp: moveTo(show, previousWindowStart(now, windows)); break;
    case platform::Key::PageDown: moveTo(show, nextWindowStart(now, windows)); break;
    case platform::Key::Home: moveTo(show, 0); break;
    case platform::Key::I:
        state.band = !state.band;
        state.presentAsked = state.paused;
        break;
    case platform::Key::R: reloadScript(show); break;
    case platform::Key::None: break;
    }
    if (event.exposed && state.paused)
        state.presentAsked = true;
}

bool showFrameWanted(ShowContext& show)
{
    if (!state.started)
        return true;
    if (state.watching && state.watch.changed())
        reloadScript(show);
    if (!state.paused)
        return true;
    if (state.frameAsked) {
        leavePauseOut(show);
        return true;
    }
    if (state.presentAsked)
        presentHeldPicture(show);
    state.presentAsked = false;
    return false;
}

void finishShowFrame(ShowContext& show, int32_t t)
{
    if (!state.started)
        return;
    if (state.pauseAsked || state.paused) {
        holdPicture(show.display);
        state.heldMs = t;
        state.frameAsked = false;
    }
    if (state.pauseAsked) {
        show.sound->pause();
        state.pauseAsked = false;
        state.paused = true;
        state.pausedReading = FrameTimer::now();
        logWrite(" -> Show :: paused at %d ms. \n", show.sound->time());
    }
    if (!state.paused)
        countFrame();
    if (state.band)
        drawBand(show, state.paused ? state.heldMs : t);
}
