// The whole program after the command line: settings, window, start-up, the
// frame loop and the shutdown. Returns the exit code.
#pragma once
#include "app/options.h"

int runShow(const Options& options);

// What exists before the dialog and the window, made in this order.
// openAudio is false for capture and timedemo, which open no audio device.
struct StartObject {
    const char* name;
    void (*make)(bool openAudio);
};
extern const StartObject kStartObjects[];
extern const int kStartObjectCount;

// Fills the display settings from the command line as if Go were pressed on
// the dialog's defaults.
void applyOptionsToSettings(const Options& options);
