// The whole program after the command line: settings, window, start-up, the
// frame loop and the shutdown. Returns the exit code.
#pragma once
#include "app/options.h"

int runShow(const Options& options);

struct DisplaySettings;

// Fills the display settings from the command line as if Go were pressed on
// the dialog's defaults.
void applyOptionsToSettings(const Options& options, DisplaySettings& settings);
