#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/capture.h"
#include "app/options.h"
#include "app/scene_table.h"
#include "app/show.h"
#include "app/shutdown.h"
#include "app/timedemo.h"
#include "core/display_settings.h"
#include "core/frame_timer.h"
#include "timeline/frame_sequencer.h"

namespace {

ParseResult parse(std::vector<const char*> args, Options& options, std::string& error)
{
    args.insert(args.begin(), "velmora");
    return parseOptions(static_cast<int>(args.size()), args.data(), options, error);
}

ParseResult parse(std::vector<const char*> args)
{
    Options options;
    std::string error;
    return parse(std::move(args), options, error);
}

} // namespace

TEST(Options, NoArgumentsOpenTheDialog)
{
    Options o;
    std::string error;
    ASSERT_EQ(parse({}, o, error), ParseResult::Run);
    EXPECT_FALSE(o.go);
    EXPECT_FALSE(o.modeWidth.has_value());
    EXPECT_FALSE(o.fullscreen.has_value());
}

TEST(Options, EveryOptionIsRead)
{
    Options o;
    std::string error;
    ASSERT_EQ(parse({"--go", "--mode", "640x400", "--aspect", "16:9", "--windowed", "--no-antialias",
                     "--start", "30000", "--capture", "/tmp/x", "--fps", "10", "--from", "100",
                     "--to=2000"},
                    o, error),
              ParseResult::Run)
        << error;
    EXPECT_TRUE(o.go);
    EXPECT_EQ(*o.modeWidth, 640);
    EXPECT_EQ(*o.modeHeight, 400);
    EXPECT_EQ(*o.aspect, 1);
    EXPECT_FALSE(*o.fullscreen);
    EXPECT_FALSE(*o.antiAlias);
    EXPECT_EQ(*o.startMs, 30000);
    EXPECT_EQ(o.capturePath, "/tmp/x");
    EXPECT_EQ(o.fps, 10);
    EXPECT_EQ(*o.fromMs, 100);
    EXPECT_EQ(*o.toMs, 2000);
}

TEST(Options, TheAspectNamesMapToTheBands)
{
    Options o;
    std::string e;
    parse({"--aspect", "16:10"}, o, e);
    EXPECT_EQ(*o.aspect, 0);
    parse({"--aspect", "full"}, o, e);
    EXPECT_EQ(*o.aspect, 2);
}

TEST(Options, HelpAndVersionAreAnswered)
{
    EXPECT_EQ(parse({"--help"}), ParseResult::Help);
    EXPECT_EQ(parse({"--go", "--version"}), ParseResult::Version);
}

TEST(Options, MalformedValuesAreErrors)
{
    EXPECT_EQ(parse({"--bogus"}), ParseResult::Error);
    EXPECT_EQ(parse({"-x"}), ParseResult::Error);
    EXPECT_EQ(parse({"--mode", "640"}), ParseResult::Error);
    EXPECT_EQ(parse({"--mode", "0x400"}), ParseResult::Error);
    EXPECT_EQ(parse({"--mode", "640x400x3"}), ParseResult::Error);
    EXPECT_EQ(parse({"--mode", "abcxdef"}), ParseResult::Error);
    EXPECT_EQ(parse({"--aspect", "4:3"}), ParseResult::Error);
    EXPECT_EQ(parse({"--fps", "0"}), ParseResult::Error);
    EXPECT_EQ(parse({"--fps", "12fps"}), ParseResult::Error);
    EXPECT_EQ(parse({"--start", "-5"}), ParseResult::Error);
    EXPECT_EQ(parse({"--start"}), ParseResult::Error);
    EXPECT_EQ(parse({"--from", "99999999999999"}), ParseResult::Error);
    EXPECT_EQ(parse({"--go=1"}), ParseResult::Error);
    EXPECT_EQ(parse({"--from", "2000", "--to", "1000"}), ParseResult::Error);
    EXPECT_EQ(parse({"--report", "r.json"}), ParseResult::Error);
    EXPECT_EQ(parse({"--timedemo", "--capture", "d"}), ParseResult::Error);
}

TEST(Options, TheFirstFrameIsAtFromElseAtStart)
{
    Options o;
    std::string e;
    EXPECT_EQ(firstShownMs(o), 0);
    ASSERT_EQ(parse({"--start", "30000"}, o, e), ParseResult::Run);
    EXPECT_EQ(firstShownMs(o), 30000);
    ASSERT_EQ(parse({"--from", "500"}, o, e), ParseResult::Run);
    EXPECT_EQ(firstShownMs(o), 500) << "--from wins over --start";
    EXPECT_EQ(parse({"--start", "30000", "--to", "1000"}), ParseResult::Error)
        << "a range that ends before the show starts";
    EXPECT_EQ(parse({"--start", "1000", "--to", "1000"}), ParseResult::Run);
}

TEST(Options, AVideoCapturesSoundStartsAtItsFirstFrame)
{
    auto soundOffset = [](const std::vector<std::string>& args) {
        for (size_t i = 0; i + 1 < args.size(); ++i)
            if (args[i] == "-ss")
                return args[i + 1];
        return std::string("none");
    };
    Options o;
    std::string e;
    ASSERT_EQ(parse({"--capture", "v.mp4", "--start", "30000", "--fps", "25"}, o, e), ParseResult::Run);
    std::vector<std::string> args = encoderArgs(o, 640, 400, true);
    EXPECT_EQ(soundOffset(args), "30.000");
    EXPECT_NE(std::find(args.begin(), args.end(), "640x400"), args.end());
    EXPECT_NE(std::find(args.begin(), args.end(), "25"), args.end());
    EXPECT_EQ(args.back(), "v.mp4");
    ASSERT_EQ(parse({"--from", "1500"}, o, e), ParseResult::Run);
    EXPECT_EQ(soundOffset(encoderArgs(o, 640, 400, true)), "1.500");
    EXPECT_EQ(soundOffset(encoderArgs(o, 640, 400, false)), "none") << "no music file, no sound track";
}

TEST(Options, VideoCapturesAreToldByTheirExtension)
{
    EXPECT_TRUE(captureIsVideo("out.mp4"));
    EXPECT_TRUE(captureIsVideo("/tmp/a.mkv"));
    EXPECT_FALSE(captureIsVideo("frames"));
    EXPECT_FALSE(captureIsVideo(".mp4"));
    EXPECT_FALSE(captureIsVideo("mp4"));
}

TEST(Letterbox, SixteenByTenOnA1024By768ModeIsABandAt64)
{
    Viewport v = letterbox(1024, 768, 0);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 64);
    EXPECT_EQ(v.width, 1024);
    EXPECT_EQ(v.height, 640);
}

TEST(Letterbox, SixteenByNineOnA1024By768ModeIsABandAt96)
{
    Viewport v = letterbox(1024, 768, 1);
    EXPECT_EQ(v.y, 96);
    EXPECT_EQ(v.height, 576);
}

TEST(Letterbox, TheModesOwnShapeFillsTheHeight)
{
    Viewport v = letterbox(1024, 768, 2);
    EXPECT_EQ(v.y, 0);
    EXPECT_EQ(v.height, 768);
    EXPECT_EQ(letterbox(800, 600, 7).height, 600);
}

TEST(Letterbox, ABandTallerThanTheModeOverhangsBothEdges)
{
    Viewport v = letterbox(1280, 720, 0); // 16:10 band on a 16:9 mode
    EXPECT_EQ(v.height, 800);
    EXPECT_EQ(v.y, -40);
}

TEST(Letterbox, OddSizesTruncateTowardZero)
{
    Viewport v = letterbox(1001, 700, 1);
    EXPECT_EQ(v.height, 563); // 563.0625
    EXPECT_EQ(v.y, 68);       // 68.5
    EXPECT_EQ(letterbox(1001, 500, 1).y, -31); // -31.5
    EXPECT_EQ(letterbox(640, 0, 2).y, 0);
}

TEST(DisplayModes, OnlyTrueColourModesAtLeast640WideAreOffered)
{
    std::vector<DisplayMode> all = {
        {1024, 768, 16, 60}, {512, 384, 24, 60}, {640, 480, 24, 60}, {1920, 1080, 32, 0}};
    std::vector<DisplayMode> kept = filterModes(all);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].width, 640);
    EXPECT_EQ(kept[1].width, 1920);
}

TEST(DisplayModes, TheLast1024By768EntryIsPreselected)
{
    std::vector<DisplayMode> modes = {
        {800, 600, 24, 60}, {1024, 768, 24, 60}, {1024, 768, 24, 75}, {1280, 1024, 24, 60}};
    EXPECT_EQ(defaultModeIndex(modes), 2);
    EXPECT_EQ(defaultModeIndex({{800, 600, 24, 60}, {1280, 1024, 24, 60}}), 0);
}

TEST(DisplayModes, AnEmptyListFallsBackToTheDesktopOr1024By768)
{
    auto desktop = fallbackModes(true, {1600, 900, 24, 60});
    ASSERT_EQ(desktop.size(), 1u);
    EXPECT_EQ(desktop[0].width, 1600);
    auto unknown = fallbackModes(false, {});
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_EQ(unknown[0].width, 1024);
    EXPECT_EQ(unknown[0].height, 768);
}

TEST(FrameTimer, ElapsedAndDeltaFollowTheReadings)
{
    FrameTimer t;
    t.updateAt(10.0f);
    EXPECT_EQ(t.startTime, 10.0f);
    EXPECT_EQ(t.elapsed, 0.0f);
    t.updateAt(10.5f);
    EXPECT_EQ(t.elapsed, 0.5f);
    EXPECT_EQ(t.delta, 0.5f);
    t.updateAt(10.75f);
    EXPECT_EQ(t.elapsed, 0.75f);
    EXPECT_EQ(t.delta, 0.25f);
}

TEST(FrameTimer, AClockSteppingBackRestartsFromZeroOnTheNextUpdate)
{
    FrameTimer t;
    t.updateAt(10.0f);
    t.updateAt(10.5f);
    t.updateAt(9.0f);
    EXPECT_EQ(t.elapsed, 0.0f);
    EXPECT_EQ(t.startTime, 0.0f);
    EXPECT_EQ(t.delta, 0.5f) << "delta keeps its last value";
    t.updateAt(9.0f);
    EXPECT_EQ(t.startTime, 9.0f);
    EXPECT_EQ(t.elapsed, 0.0f);
    t.updateAt(9.25f);
    EXPECT_EQ(t.elapsed, 0.25f);
    EXPECT_GE(t.delta, 0.0f);
}

TEST(FrameStats, MeanPercentileAndRate)
{
    std::vector<double> ms;
    for (int i = 1; i <= 100; ++i)
        ms.push_back(i);
    FrameStats s = frameStats(ms);
    EXPECT_EQ(s.frames, 100u);
    EXPECT_DOUBLE_EQ(s.meanMs, 50.5);
    EXPECT_DOUBLE_EQ(s.p95Ms, 95.0);
    EXPECT_NEAR(s.fps, 1000.0 / 50.5, 1e-9);
    EXPECT_EQ(frameStats({}).frames, 0u);
    EXPECT_DOUBLE_EQ(frameStats({4.0}).p95Ms, 4.0);
}

TEST(ShownWindow, TheLaterCompositeOfAFrameIsWhatShows)
{
    MarkerWindows w = buildMarkerWindows(MarkerTable());
    EXPECT_EQ(shownWindow(0, w), Window::Citation);
    EXPECT_EQ(shownWindow(5500, w), Window::Citation) << "the first of a shared test wins";
    EXPECT_EQ(shownWindow(5501, w), Window::Citation2);
    EXPECT_EQ(shownWindow(24060, w), Window::SousLaBrume);
    EXPECT_EQ(shownWindow(36000, w), Window::Directorcut);
    EXPECT_EQ(shownWindow(50000, w), Window::Linkbeast);
    EXPECT_EQ(shownWindow(120000, w), Window::Iterations) << "iterations is tested after roots";
    EXPECT_EQ(shownWindow(193000, w), Window::Rappel);
    EXPECT_EQ(shownWindow(300000, w), Window::Count);
    EXPECT_STREQ(windowReportName(Window::Count), "none");
}

TEST(StartObjects, AreMadeInTheirFixedOrderBeforeTheWindow)
{
    std::vector<std::string> names;
    for (int i = 0; i < kStartObjectCount; ++i)
        names.push_back(kStartObjects[i].name);
    const std::vector<std::string> expected = {"display settings", "image manager", "loading bar",
                                               "marker table",     "sound manager", "framebuffers"};
    EXPECT_EQ(names, expected);
}

TEST(SceneTable, HoldsTheTwentyTwoStartUpStepsInTheirOrder)
{
    std::vector<std::string> names;
    for (int i = 0; i < kSceneRowCount; ++i)
        if (kSceneTable[i].name)
            names.push_back(kSceneTable[i].name);
    const std::vector<std::string> expected = {
        "Depth Reader", "Gaussian Blur", "Bokeh Depth of Field (DOF)", "Logo post-process",
        "Snake-Cube bloomer", "Bump mapping", "silvate logo", "screen quads", "quadric",
        "procedural textures", "overlay", "logo scene", "sky and ground", "terrain", "beast",
        "moon scene", "roots", "ground dust", "stairway", "nothing", "opening text", "framebuffers"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(startupStepCount(), 22);
}

TEST(SceneTable, ReleasesEverythingBeforeTheLogAndTheLogBeforeTheWindow)
{
    std::vector<std::string> names;
    for (const SceneRow* row : shutdownOrder())
        names.push_back(row->releaseName);
    const std::vector<std::string> expected = {
        "procedural textures", "overlay texture", "sky and ground", "terrain", "beast",
        "logo scene", "moon scene", "opening text", "root paths", "ground plane", "stairway",
        "quadric", "shader programs", "framebuffers", "image manager", "sound manager", "log",
        "window"};
    EXPECT_EQ(names, expected);
}

TEST(SceneTable, NoWindowIsDrawnByTwoRows)
{
    std::vector<int> drawers(kWindowCount, 0);
    for (int i = 0; i < kSceneRowCount; ++i)
        for (const SceneDraw& d : kSceneTable[i].draws)
            if (d.draw)
                ++drawers.at(static_cast<int>(d.window));
    for (int w = 0; w < kWindowCount; ++w)
        EXPECT_LE(drawers[w], 1) << windowReportName(static_cast<Window>(w));
}
