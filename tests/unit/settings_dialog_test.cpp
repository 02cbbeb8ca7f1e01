#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options.h"
#include "app/settings_dialog.h"
#include "app/show.h"
#include "core/display_settings.h"

namespace {

// What a display might enumerate: depths and widths the list must drop, and
// 1024 x 768 at 60 Hz and then at 75 Hz.
const std::vector<DisplayMode> kEnumerated = {
    {1280, 1024, 24, 60}, {1024, 768, 16, 75}, {800, 600, 24, 60},  {1024, 768, 24, 60},
    {512, 384, 24, 60},   {639, 480, 32, 60},  {1024, 768, 24, 75}, {1920, 1080, 32, 0}};

DisplaySettings settings;

// The settings as the constructor and then the command line leave them.
void settle(const std::vector<DisplayMode>& enumerated, std::vector<const char*> args = {})
{
    settings.modes = filterModes(enumerated);
    args.insert(args.begin(), "velmora");
    Options options;
    std::string error;
    ASSERT_EQ(parseOptions(static_cast<int>(args.size()), args.data(), options, error), ParseResult::Run)
        << error;
    applyOptionsToSettings(options, settings);
}

platform::SettingsDialogOutcome pressGo(const platform::SettingsDialogContent& content)
{
    platform::SettingsDialogOutcome outcome;
    outcome.go = true;
    outcome.modeEntry = content.mode;
    outcome.modeText = content.modeTexts.at(content.mode);
    outcome.aspect = content.aspect;
    outcome.fullscreen = content.fullscreen;
    outcome.antiAlias = content.antiAlias;
    return outcome;
}

} // namespace

TEST(SettingsDialog, ListsDeepWideModesAs32BitsAndOpensOnTheLast1024By768EntryElseTheFirstOn4By3WithBothBoxesTicked)
{
    settle(kEnumerated);
    platform::SettingsDialogContent c = dialogContent(settings);
    // Shallow and narrow modes left out, the display's order kept.
    const std::vector<std::string> expected = {"1280x1024 32 bpp 60 hz", "800x600 32 bpp 60 hz",
                                               "1024x768 32 bpp 60 hz", "1024x768 32 bpp 75 hz",
                                               "1920x1080 32 bpp 0 hz"};
    EXPECT_EQ(c.modeTexts, expected);
    EXPECT_EQ(c.mode, 3) << "75 Hz, listed after 60 Hz";
    EXPECT_EQ(c.aspectTexts.at(c.aspect), " 4 / 3");
    EXPECT_TRUE(c.fullscreen);
    EXPECT_TRUE(c.antiAlias);
    settle({{1280, 1024, 24, 60}, {800, 600, 24, 60}});
    EXPECT_EQ(dialogContent(settings).mode, 0);
    // The aspect list is sorted and its index is the band.
    EXPECT_EQ(aspectTexts(), (std::vector<std::string>{" 16 / 10", " 16 / 9", " 4 / 3"}));
}

TEST(SettingsDialog, TheCommandLinePreselectsTheControls)
{
    settle(kEnumerated, {"--mode", "800x600", "--windowed", "--aspect", "16:9", "--no-antialias"});
    platform::SettingsDialogContent c = dialogContent(settings);
    EXPECT_EQ(c.modeTexts.at(c.mode), "800x600 32 bpp 60 hz");
    EXPECT_EQ((std::vector<int>{c.aspect, c.fullscreen, c.antiAlias}), (std::vector<int>{1, false, false}));
    // A size the display does not list is offered at the end, preselected.
    settle(kEnumerated, {"--mode", "640x400"});
    c = dialogContent(settings);
    EXPECT_EQ(c.mode, 5);
    EXPECT_EQ(c.modeTexts.at(5), "640x400 32 bpp 0 hz");
}

TEST(SettingsDialog, GoStoresTheSelectionsAndTicksWhileLeaveEscapeAndClosingLeaveGoFalse)
{
    settle(kEnumerated);
    platform::SettingsDialogContent c = dialogContent(settings);
    // Go, full screen, smooth lines, aspect, depth, mode entry, width and height.
    auto stored = [] {
        return std::vector<int>{settings.go(), settings.fullscreen(), settings.antiAlias(),
                                settings.aspect(), settings.bitsPerPixel(),
                                settings.selectedMode, settings.width(), settings.height()};
    };
    storeDialogOutcome(pressGo(c), c.mode, settings); // untouched: full screen, smooth lines, full height
    EXPECT_EQ(stored(), (std::vector<int>{true, true, true, 2, 32, 3, 1024, 768}));

    platform::SettingsDialogOutcome o = pressGo(c);
    o.modeEntry = 1;
    o.modeText = c.modeTexts[1];
    o.aspect = 0;
    o.fullscreen = false;
    storeDialogOutcome(o, c.mode, settings);
    EXPECT_EQ(stored(), (std::vector<int>{true, false, true, 0, 32, 1, 800, 600}));

    storeDialogOutcome(platform::SettingsDialogOutcome{}, c.mode, settings); // what Leave, Escape and closing hand back
    EXPECT_FALSE(settings.go());
}

TEST(SettingsDialog, TypedWidthByHeightIsUsedAndTextThatIsNoModeKeepsThePreselectedMode)
{
    std::vector<DisplayMode> modes = filterModes(kEnumerated);
    const size_t count = modes.size();
    for (const char* text : {"abc", "0x0", "", "   ", "800x", "x600", "-800x600", "800x600x2", "99999x99999"})
        EXPECT_EQ(typedMode(text, 3, modes), 3) << "'" << text << "'";
    EXPECT_EQ(modes.size(), count) << "nothing was added";
    // Width by height is used.
    EXPECT_EQ(typedMode("800x600", 3, modes), 1);
    EXPECT_EQ(typedMode(" 1024X768 ", 0, modes), 3) << "the last entry of that size";
    EXPECT_EQ(typedMode("1280x1024 32 bpp 75 hz", 3, modes), 0) << "an edited entry reads by its size";
    EXPECT_EQ(typedMode("1024x768 32 bpp 60 hz", 0, modes), 2) << "an entry's own text is that entry";
    ASSERT_EQ(typedMode("1600x900", 3, modes), 5);
    EXPECT_EQ(modes[5].width * 10000 + modes[5].height, 16000900);
    EXPECT_EQ(typedMode("1600x900", 3, modes), 5) << "added once only";
}

TEST(SettingsDialog, GoAfterTypingUsesTheTypedModeOrKeepsThePreselectedOne)
{
    settle(kEnumerated);
    platform::SettingsDialogContent c = dialogContent(settings);
    platform::SettingsDialogOutcome o = pressGo(c);
    o.modeEntry = -1; // typing leaves the list without a selection
    o.modeText = "abc";
    storeDialogOutcome(o, c.mode, settings);
    EXPECT_EQ(settings.selectedMode, 3);
    o.modeText = "1600x900";
    storeDialogOutcome(o, c.mode, settings);
    EXPECT_EQ(settings.width(), 1600);
    EXPECT_EQ(settings.height(), 900);
    o.modeEntry = 99; // never an index outside the list
    o.modeText = "0x0";
    storeDialogOutcome(o, c.mode, settings);
    EXPECT_EQ(settings.selectedMode, 3);
}
