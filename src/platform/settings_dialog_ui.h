// The settings dialog as the toolkit draws it: it shows what it is given and
// hands back what the viewer left in its controls. What that means is decided
// in app/settings_dialog.cpp.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

struct SettingsDialogContent {
    std::vector<std::string> modeTexts;   // the mode list, in this order, unsorted
    int mode = 0;                         // the entry selected at first
    std::vector<std::string> aspectTexts; // the aspect list, in this order
    int aspect = 0;
    bool fullscreen = false;
    bool antiAlias = false;
    const char* goText = "";
    const char* leaveText = "";
    const char* fullscreenText = "";
    const char* antiAliasText = "";
    // PNG bytes of the banner and of the window icon; a null pointer shows none.
    const unsigned char* banner = nullptr;
    std::size_t bannerSize = 0;
    const unsigned char* icon = nullptr;
    std::size_t iconSize = 0;
};

struct SettingsDialogOutcome {
    bool go = false;       // Go was pressed; Leave, Escape, closing the dialog or a quit signal leave it false
    int modeEntry = -1;    // the mode list's selection, -1 when text was typed into its field
    std::string modeText;  // the text of the mode field
    int aspect = -1;       // the aspect list's selection
    bool fullscreen = false;
    bool antiAlias = false;
};

// Runs the dialog until the viewer closes it. The toolkit starts on the first
// call only. False, with error set, when the dialog cannot be shown at all.
bool runSettingsDialog(const SettingsDialogContent& content, SettingsDialogOutcome& outcome,
                       std::string& error);

} // namespace platform
