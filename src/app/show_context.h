// Everything the show holds for its whole run, made at the top of the run,
// before the dialog and the window, in the order of its members (display
// settings and modes, image manager, loading bar, marker windows, sound
// manager), then the four empty framebuffers the post chain draws through;
// handed down to what needs it.
#pragma once
#include <memory>

#include "app/loading_bar.h"
#include "core/display_settings.h"
#include "core/frame_timer.h"
#include "gfx/image_manager.h"
#include "scenes/stage.h"
#include "sound/sound_manager.h"
#include "timeline/marker_table.h"

struct ShowContext {
    // openAudio is false for capture and timedemo, which open no audio device.
    explicit ShowContext(bool openAudio);

    DisplaySettings display;
    ImageManager images;
    LoadingBar loadingBar;
    MarkerWindows markers; // read from the timeline script
    std::unique_ptr<SoundManager> sound; // released by shutdown, before the platform
    FrameTimer frameTimer;

    // What the scene list's rows are handed.
    Stage stage() { return {images, display}; }
};
