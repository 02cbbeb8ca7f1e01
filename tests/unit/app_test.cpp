#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/capture.h"
#include "app/options.h"
#include "app/show.h"
#include "app/shutdown.h"
#include "app/timedemo.h"
#include "core/display_settings.h"
#include "core/frame_timer.h"
#include "scenes/scene_list.h"
#include "timeline/show_table.h"

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

TEST(Options, NoArgumentsOpenTheDialogAndEveryOptionIsRead)
{
    Options o;
    std::string error;
    ASSERT_EQ(parse({}, o, error), ParseResult::Run);
    EXPECT_FALSE(o.go || o.modeWidth || o.fullscreen);
    ASSERT_EQ(parse({"--go", "--mode", "640x400", "--aspect", "16:9", "--windowed", "--no-antialias",
                     "--start", "30000", "--capture", "/tmp/x", "--fps", "10", "--from", "100",
                     "--to=2000", "--data", "/d", "--log=l.txt", "--jobs", "3"},
                    o, error),
              ParseResult::Run)
        << error;
    EXPECT_TRUE(o.go);
    EXPECT_EQ((std::vector<int>{*o.modeWidth, *o.modeHeight, *o.aspect, *o.fullscreen, *o.antiAlias, *o.startMs,
                                o.fps, *o.fromMs, *o.toMs}),
              (std::vector<int>{640, 400, 1, false, false, 30000, 10, 100, 2000}));
    EXPECT_EQ(o.capturePath + o.dataDir + o.logPath, "/tmp/x/dl.txt");
    EXPECT_EQ(o.jobs, 3);
    // The other aspect names.
    parse({"--aspect", "16:10"}, o, error);
    EXPECT_EQ(*o.aspect, 0);
    parse({"--aspect", "full"}, o, error);
    EXPECT_EQ(*o.aspect, 2);
}

TEST(Options, HelpAndVersionAreAnsweredAndMalformedValuesAreErrors)
{
    EXPECT_EQ(parse({"--help"}), ParseResult::Help);
    EXPECT_EQ(parse({"--go", "--version"}), ParseResult::Version);
    EXPECT_EQ(parse({"--go", "--dev"}), ParseResult::Run);
    const std::vector<std::vector<const char*>> malformed = {
        {"--bogus"}, {"-x"}, {"--mode", "640"}, {"--mode", "0x400"}, {"--mode", "640x400x3"},
        {"--mode", "abcxdef"}, {"--aspect", "4:3"}, {"--fps", "0"}, {"--fps", "12fps"}, {"--start", "-5"},
        {"--start"}, {"--from", "99999999999999"}, {"--go=1"}, {"--from", "2000", "--to", "1000"},
        {"--report", "r.json"}, {"--timedemo", "--capture", "d"}, {"--dev", "--timedemo"}, {"--dev", "--capture", "d"},
        {"--dev=1"}, {"--data"}, {"--data="}, {"--log", ""}, {"--capture", "d", "--jobs", "0"},
        {"--capture", "d", "--jobs", "-2"}, {"--capture", "d", "--jobs", "two"}, {"--capture", "d", "--jobs"},
        {"--jobs", "2"}, {"--timedemo", "--jobs", "2"}};
    for (const auto& args : malformed)
        EXPECT_EQ(parse(args), ParseResult::Error) << args[0] << " " << (args.size() > 1 ? args[1] : "");
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
    for (auto [path, video] : {std::pair{"out.mp4", true}, {"/tmp/a.mkv", true}, {"frames", false},
                               {".mp4", false}, {"mp4", false}})
        EXPECT_EQ(captureIsVideo(path), video) << path;
}

TEST(Letterbox, TheBandIsCentredTruncatedTowardZeroAndMayOverhangTheMode)
{
    const struct {
        int width, height, aspect;
        std::vector<int> band; // x, y, width, height
    } cases[] = {
        {1024, 768, 0, {0, 64, 1024, 640}},  {1024, 768, 1, {0, 96, 1024, 576}},
        {1024, 768, 2, {0, 0, 1024, 768}},   {800, 600, 7, {0, 0, 800, 600}}, // the mode's own shape
        {1280, 720, 0, {0, -40, 1280, 800}}, // a 16:10 band on a 16:9 mode
        {1001, 700, 1, {0, 68, 1001, 563}},  // 68.5 and 563.0625
        {1001, 500, 1, {0, -31, 1001, 563}}, // -31.5
        {640, 0, 2, {0, 0, 640, 0}},
    };
    for (const auto& c : cases) {
        Viewport v = letterbox(c.width, c.height, c.aspect);
        EXPECT_EQ((std::vector<int>{v.x, v.y, v.width, v.height}), c.band)
            << c.width << "x" << c.height << " aspect " << c.aspect;
    }
}

// The list's filter and preselection are pinned by the settings dialog's tests.
TEST(DisplayModes, A640WideModeIsOfferedAndAnEmptyListFallsBack)
{
    EXPECT_EQ(filterModes({{640, 480, 24, 60}}).size(), 1u);
    // An empty list falls back to the desktop, else to 1024 x 768.
    auto desktop = fallbackModes(true, {1600, 900, 24, 60});
    auto unknown = fallbackModes(false, {});
    ASSERT_EQ(desktop.size() + unknown.size(), 2u);
    EXPECT_EQ(desktop[0].width, 1600);
    EXPECT_EQ(unknown[0].width * 10000 + unknown[0].height, 1024 * 10000 + 768);
}

TEST(FrameTimer, ElapsedAndDeltaFollowTheReadingsAndAClockSteppingBackRestartsFromZero)
{
    // After each reading: start time, elapsed, delta.
    const std::pair<float, std::vector<float>> readings[] = {
        {10.0f, {10.0f, 0.0f, 0.0f}}, {10.5f, {10.0f, 0.5f, 0.5f}}, {10.75f, {10.0f, 0.75f, 0.25f}},
        {9.0f, {0.0f, 0.0f, 0.25f}}, // back in time: delta keeps its last value
        {9.0f, {9.0f, 0.0f, 0.0f}},   {9.25f, {9.0f, 0.25f, 0.25f}}};
    FrameTimer t;
    for (const auto& [at, expected] : readings) {
        t.updateAt(at);
        EXPECT_EQ((std::vector<float>{t.startTime, t.elapsed, t.delta}), expected) << at;
    }
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

TEST(SceneList, HoldsTheTwentyTwoStartUpStepsInTheirOrder)
{
    std::vector<std::string> names;
    for (const SceneRow& row : kSceneList)
        if (row.step)
            names.push_back(row.step);
    const std::vector<std::string> expected = {
        "Depth Reader", "Gaussian Blur", "Bokeh Depth of Field (DOF)", "Logo post-process",
        "Snake-Cube bloomer", "Bump mapping", "silvate logo", "screen quads", "quadric",
        "procedural textures", "overlay", "logo scene", "sky and ground", "terrain", "beast",
        "moon scene", "roots", "ground dust", "stairway", "nothing", "opening text", "framebuffers"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(startupStepCount(), 22);
}

TEST(SceneList, ReleasesTheContentInStartUpOrderAndTheDrawingToolsAfterIt)
{
    std::vector<std::string> names;
    for (const SceneRow* row : shutdownOrder())
        names.push_back(row->releaseStep);
    const std::vector<std::string> expected = {
        "procedural textures", "overlay texture", "logo scene", "sky and ground", "terrain", "beast",
        "moon scene", "root paths", "ground plane", "stairway", "opening text",
        "shader programs", "quadric", "framebuffers"};
    EXPECT_EQ(names, expected);
}

TEST(SceneList, NoWindowIsDrawnByTwoRowsEveryUpdateHasItsDrawAndWhatARowUsesIsMadeByOne)
{
    std::vector<int> drawers(kMarkerCount, 0);
    unsigned made = 0, used = 0;
    for (const SceneRow& row : kSceneList) {
        for (const SceneWindow& w : row.windows)
            if (w.look)
                ++drawers.at(static_cast<int>(w.marker));
        EXPECT_TRUE(row.draw || !row.update) << (row.step ? row.step : "a row without a step");
        EXPECT_EQ(made & row.makes, 0u) << "made twice";
        made |= row.makes;
        used |= row.uses;
    }
    for (int w = 0; w < kMarkerCount; ++w)
        EXPECT_LE(drawers[w], 1) << windowReportName(static_cast<Marker>(w));
    EXPECT_EQ(used & ~made, 0u) << "used but made by no row";
}
