#include "app/settings_dialog.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "app/options.h"
#include "core/display_settings.h"
#include "core/embedded.h"
#include "core/log.h"

const char* const kGoText = ".Go.";
const char* const kLeaveText = ".Leave.";
const char* const kFullscreenText = "Fullscreen";
const char* const kAntiAliasText = "Anti Alias";

std::string modeText(const DisplayMode& mode)
{
    char text[64];
    std::snprintf(text, sizeof text, "%dx%d 32 bpp %d hz", mode.width, mode.height, mode.refreshRate);
    return text;
}

std::vector<std::string> aspectTexts()
{
    // Added in this order; the list keeps itself sorted.
    std::vector<std::string> texts = {" 4 / 3", " 16 / 10", " 16 / 9"};
    std::sort(texts.begin(), texts.end());
    return texts;
}

int typedMode(const std::string& text, int preselected, std::vector<DisplayMode>& modes)
{
    std::string_view typed = text;
    size_t first = typed.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return preselected;
    typed = typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
    for (size_t i = 0; i < modes.size(); ++i)
        if (typed == modeText(modes[i]))
            return static_cast<int>(i);
    // "WIDTHxHEIGHT", alone or as the start of an edited entry ("800x600 32 bpp 60 hz").
    int width, height;
    if (!parseModeText(typed.substr(0, typed.find_first_of(" \t")), width, height))
        return preselected;
    return findOrAddMode(modes, width, height);
}

platform::SettingsDialogContent dialogContent(const DisplaySettings& settings)
{
    platform::SettingsDialogContent content;
    for (const DisplayMode& mode : settings.modes)
        content.modeTexts.push_back(modeText(mode));
    content.mode = settings.selectedMode;
    content.aspectTexts = aspectTexts();
    content.aspect = settings.aspect();
    content.fullscreen = settings.fullscreen();
    content.antiAlias = settings.antiAlias();
    content.goText = kGoText;
    content.leaveText = kLeaveText;
    content.fullscreenText = kFullscreenText;
    content.antiAliasText = kAntiAliasText;
    if (const EmbeddedFile* banner = embeddedResource("images/banner106.png")) {
        content.banner = banner->data;
        content.bannerSize = banner->size;
    }
    if (const EmbeddedFile* icon = embeddedResource("images/icon102.png")) {
        content.icon = icon->data;
        content.iconSize = icon->size;
    }
    return content;
}

void storeDialogOutcome(const platform::SettingsDialogOutcome& outcome, int preselected, DisplaySettings& settings)
{
    settings.goValue = false;
    if (!outcome.go)
        return;
    auto& modes = settings.modes;
    if (outcome.modeEntry >= 0 && outcome.modeEntry < static_cast<int>(modes.size()))
        settings.selectedMode = outcome.modeEntry;
    else
        settings.selectedMode = typedMode(outcome.modeText, preselected, modes);
    if (outcome.aspect >= 0 && outcome.aspect <= 2)
        settings.aspectValue = outcome.aspect;
    settings.bitsPerPixelValue = 32;
    settings.fullscreenValue = outcome.fullscreen;
    settings.antiAliasValue = outcome.antiAlias;
    settings.goValue = true;
}

void showSettingsDialog(DisplaySettings& settings)
{
    platform::SettingsDialogContent content = dialogContent(settings);
    platform::SettingsDialogOutcome outcome;
    std::string error;
    if (!platform::runSettingsDialog(content, outcome, error))
        failAndExit(("cannot show the settings dialog: " + error).c_str());
    storeDialogOutcome(outcome, content.mode, settings);
}
