// The display settings dialog: what it offers, what it starts from and what
// its two buttons store in the display settings. The toolkit side lives in
// platform/settings_dialog_gtk.cpp; everything here runs without a display.
#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/settings_dialog_ui.h"

extern const char* const kGoText;
extern const char* const kLeaveText;
extern const char* const kFullscreenText;
extern const char* const kAntiAliasText;

// "%dx%d 32 bpp %d hz": every entry says 32 bpp, whatever depth the display reports.
std::string modeText(const DisplayMode& mode);
// The aspect list as it stands once sorted; an entry's index is its aspect value.
std::vector<std::string> aspectTexts();

// The mode that text typed into the mode field stands for: an entry whose text
// it repeats, else "WIDTHxHEIGHT" (a listed mode of that size, or a new entry
// for it), else the preselected mode.
int typedMode(const std::string& text, int preselected, std::vector<DisplayMode>& modes);

// The dialog's first state, from the settings as the command line left them.
platform::SettingsDialogContent dialogContent(const DisplaySettings& settings);
// Go stores the selections and the ticks and sets go; anything else leaves go false.
// preselected is the mode the dialog opened with.
void storeDialogOutcome(const platform::SettingsDialogOutcome& outcome, int preselected, DisplaySettings& settings);

// Runs the modal dialog over the settings; afterwards go() says whether to
// start the show. A dialog that cannot be shown ends the program (exit 1).
void showSettingsDialog(DisplaySettings& settings);
