#include "app/show_controls.h"

#include <epoxy/gl.h>

#include <cstdio>
#include <string>

#include "app/info_band.h"
#include "core/data_dir.h"
#include "core/display_settings.h"
#include "core/frame_timer.h"
#include "core/log.h"
#include "core/show_clock.h"
#include "gfx/image_manager.h"
#include "platform/file_watch.h"
#include "sound/sound_manager.h"
#include "timeline/marker_table.h"
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

int width()
{
    return DisplaySettings::width();
}

int height()
{
    return DisplaySettings::height();
}

void drawBand(int32_t t)
{
    drawInfoBand(infoBandText(t, markerWindows(), state.fps, state.paused), width(), height());
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
void leavePauseOut()
{
    float now = FrameTimer::now();
    frameTimer().leaveOut(now - state.pausedReading);
    state.pausedReading = now;
}

void holdPicture()
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
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 0, 0, width(), height(), 0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// The held picture pixel for pixel, the band over it when on, then the swap.
void presentHeldPicture()
{
    glUseProgram(0);
    glViewport(0, 0, width(), height());
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, state.heldPicture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    imageManager().drawFullScreenQuad(); // depth testing off
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (state.band)
        drawBand(state.heldMs);
    platform::swapBuffers();
}

void reloadScript()
{
    std::string why;
    if (reloadTimeline(dataFile(kScriptFile).c_str(), why)) {
        logWrite(" -> Script :: '%s' reloaded. \n", kScriptFile);
    } else {
        logWrite(" -> Script :: '%s' not reloaded (%s). \n", kScriptFile, why.c_str());
        std::fprintf(stderr, "velmora: %s not reloaded (%s); the show keeps its timeline\n", kScriptFile, why.c_str());
    }
    state.frameAsked = state.paused;
}

void moveTo(int32_t ms)
{
    int32_t from = soundManager().time();
    int32_t to = seekTarget(ms, 0, markerWindows());
    soundManager().seek(to);
    logWrite(" -> Show :: moved from %d ms to %d ms. \n", from, to);
    state.frameAsked = state.paused;
}

void togglePause()
{
    if (state.pauseAsked || !state.paused) {
        state.pauseAsked = !state.pauseAsked; // a second Space before the held frame cancels
        return;
    }
    leavePauseOut();
    soundManager().resume();
    state.paused = false;
    state.frameAsked = false;
    state.frames = 0;
    logWrite(" -> Show :: resumed at %d ms. \n", soundManager().time());
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

void answerEvent(const platform::Event& event)
{
    if (!state.started)
        return;
    const MarkerWindows& windows = markerWindows();
    int32_t now = soundManager().time();
    switch (event.key) {
    case platform::Key::Space: togglePause(); break;
    case platform::Key::Left: moveTo(seekTarget(now, -5000, windows)); break;
    case platform::Key::Right: moveTo(seekTarget(now, 5000, windows)); break;
    case platform::Key::PageUp: moveTo(previousWindowStart(now, windows)); break;
    case platform::Key::PageDown: moveTo(nextWindowStart(now, windows)); break;
    case platform::Key::Home: moveTo(0); break;
    case platform::Key::I:
        state.band = !state.band;
        state.presentAsked = state.paused;
        break;
    case platform::Key::R: reloadScript(); break;
    case platform::Key::None: break;
    }
    if (event.exposed && state.paused)
        state.presentAsked = true;
}

bool showFrameWanted()
{
    if (!state.started)
        return true;
    if (state.watching && state.watch.changed())
        reloadScript();
    if (!state.paused)
        return true;
    if (state.frameAsked) {
        leavePauseOut();
        return true;
    }
    if (state.presentAsked)
        presentHeldPicture();
    state.presentAsked = false;
    return false;
}

void finishShowFrame(int32_t t)
{
    if (!state.started)
        return;
    if (state.pauseAsked || state.paused) {
        holdPicture();
        state.heldMs = t;
        state.frameAsked = false;
    }
    if (state.pauseAsked) {
        soundManager().pause();
        state.pauseAsked = false;
        state.paused = true;
        state.pausedReading = FrameTimer::now();
        logWrite(" -> Show :: paused at %d ms. \n", soundManager().time());
    }
    if (!state.paused)
        countFrame();
    if (state.band)
        drawBand(state.paused ? state.heldMs : t);
}
