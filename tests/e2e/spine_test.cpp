#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include <unistd.h>

#include "support/test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

const char* kTitle = "Korvane & Silvate  :: Velmora";
const char* kDemoEnds = " -- Demo ends -- \n\n";

// After the end line the log may hold only the shutdown's release lines.
void expectCompleteLog(const std::string& log)
{
    size_t end = log.find(kDemoEnds);
    ASSERT_NE(end, std::string::npos) << log;
    std::string tail = log.substr(end + std::string(kDemoEnds).size());
    for (size_t pos = 0, next; pos < tail.size(); pos = next == std::string::npos ? tail.size() : next + 1) {
        next = tail.find('\n', pos);
        std::string line = tail.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
        EXPECT_EQ(line.rfind(" -> ", 0), 0u) << "unexpected line after the end: '" << line << "'";
    }
}

} // namespace

TEST(CommandLine, AnswersAndRefusalsNeverStartTheShow)
{
    const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
    const std::vector<std::string> timedemo = {"--go", "--windowed", "--mode", "320x200", "--timedemo"};
    auto withTimedemo = [&](std::vector<std::string> range) {
        range.insert(range.begin(), timedemo.begin(), timedemo.end());
        return range;
    };
    const struct {
        std::vector<std::string> args, env;
        int exitCode;
        const char* text; // in stdout on exit 0, else in stderr
    } cases[] = {
        {{"--help"}, {}, 0, "--capture PATH"},
        {{"--help"}, noDisplay, 0, "--capture PATH"}, // help needs no display
        {{"--version"}, {}, 0, "velmora "},
        // Which values are malformed is pinned by the option parser's own tests.
        {{"--frobnicate"}, {}, 2, "usage: velmora"},
        {withTimedemo({"--from", "203001"}), {}, 2, "usage: velmora"}, // ranges outside the show
        {withTimedemo({"--to", "204001"}), {}, 2, "usage: velmora"},
        {{"--go", "--windowed"}, {"DISPLAY=", "WAYLAND_DISPLAY="}, 1, "no display"},
        {{"--go"}, noDisplay, 1, "no display available"},
        {{}, noDisplay, 1, "; --capture and --timedemo work without one"}, // before the dialog too
    };
    std::string dir = makeWorkDir("cmdline");
    for (const auto& c : cases) {
        RunResult r = runVelmora(dir, c.args, 60, c.env);
        std::string what = (c.args.empty() ? "no arguments" : c.args.back()) + ": " + r.err;
        EXPECT_EQ(r.exitCode, c.exitCode) << what;
        EXPECT_NE((c.exitCode == 0 ? r.out : r.err).find(c.text), std::string::npos) << what;
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "one line: " << what;
        }
        EXPECT_FALSE(fileExists(dir + "/debug_log.txt")) << what;
    }
}

TEST(Capture, ElevenFramesOfTheModesSizeWithProgressShown)
{
    std::string dir = makeWorkDir("capture");
    RunResult r = runVelmora(dir, captureArgs("a", 0, 1000, 10, "640x400"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int k = 0; k <= 10; ++k) {
        Image image = readFrame(framePath(dir + "/a", k));
        EXPECT_EQ(image.width * 1000 + image.height, 640400) << k;
    }
    EXPECT_FALSE(fileExists(framePath(dir + "/a", 11)));
    EXPECT_NE(r.err.find("frame 11 of 11"), std::string::npos);
}

TEST(Capture, AVideoFileGetsAPlayableMovie)
{
    std::string dir = makeWorkDir("video");
    RunResult r = runVelmora(dir, captureArgs("out.mp4", 0, 500, 10, "640x400"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string movie = readFile(dir + "/out.mp4");
    ASSERT_GT(movie.size(), 1000u);
    EXPECT_EQ(movie.substr(4, 4), "ftyp");
    // A player finds six frames of 640 x 400 and the music beside them.
    std::string probe = "ffprobe -v error -count_frames -show_entries stream=codec_type,width,height,nb_read_frames "
                        "-of csv=p=0 '" + dir + "/out.mp4'";
    std::string streams = shell(probe);
    EXPECT_NE(streams.find("video,640,400,6"), std::string::npos) << streams;
    EXPECT_NE(streams.find("audio"), std::string::npos) << streams;
}

TEST(Capture, AnUnwritableTargetFailsWithExitOne)
{
    std::string dir = makeWorkDir("capfail");
    writeFile(dir + "/blocker", "x");
    RunResult r = runVelmora(dir, captureArgs("blocker/frames", 0, 100));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("blocker/frames"), std::string::npos) << r.err;
}

TEST(EndOfShow, AScriptThatMovesTheEndStopsTheShowThere)
{
    std::string dir = makeWorkDir("demoend");
    useScript(dir, "demoend.start 500\n");
    RunResult r = runVelmora(dir, {"--windowed", "--mode", "320x200", "--capture", "f", "--fps", "10"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fileExists(dir + "/f/frame_00005.png"));
    EXPECT_FALSE(fileExists(dir + "/f/frame_00006.png")) << "the frame at 500 ms ends the show";
    expectCompleteLog(readFile(dir + "/debug_log.txt"));
}

TEST(Script, MissingBinaryAndEnormousScriptsNeverStopTheShow)
{
    std::string dir = makeWorkDir("badscript", {"heaven.scpt"});
    std::mt19937 random(99);
    std::string binary(64 * 1024, '\0');
    for (char& c : binary)
        c = static_cast<char>(random());
    const char* names[] = {"missing", "binary", "enormous"};
    const std::string scripts[] = {"", binary, "citation.end 5500 " + std::string(64 * 1024 * 1024, '9') + " x\n"};
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            useScript(dir, scripts[i]);
        RunResult r = runVelmora(dir, captureArgs("f", 0, 200), 120);
        EXPECT_EQ(r.exitCode, 0) << names[i] << ": " << r.err;
    }
}

TEST(Window, ItOpensCentredAtTheModesSizeWithTheTitleAndEscapeOrTheCloseButtonEndTheShow)
{
    for (bool escape : {true, false}) {
        std::string dir = makeWorkDir(escape ? "escape" : "close");
        Process show = startVelmora(dir, {"--go", "--windowed", "--mode", "640x400"});
        std::string window = waitForWindow(show.pid, kTitle, 30);
        ASSERT_FALSE(window.empty());
        WindowGeometry g = windowGeometry(window);
        EXPECT_EQ(windowName(window), kTitle);
        // Centred on the 1280 x 1024 screen.
        EXPECT_EQ((std::vector<int>{g.x, g.y, g.width, g.height}), (std::vector<int>{320, 312, 640, 400}));
        usleep(1500 * 1000); // into the frame loop
        pressKeys(window, "a"); // other keys do nothing
        usleep(200 * 1000);
        if (escape)
            pressKeys(window, "Escape");
        else
            ASSERT_TRUE(requestClose(window));
        RunResult r = finishVelmora(show, 30);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        expectCompleteLog(readFile(dir + "/debug_log.txt"));
    }
}

TEST(Timedemo, ItReportsStartUpAndEachWindowsFrameTimesAndCpuTimeAsJsonForTheShowOrARange)
{
    std::string dir = makeWorkDir("timedemo");
    useScript(dir, "demoend.start 7000\n");
    const std::vector<std::string> timedemo = {"--go", "--windowed", "--mode", "320x200", "--timedemo", "--report"};
    std::vector<std::string> args = timedemo;
    args.push_back("whole.json");
    RunResult r = runVelmora(dir, args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("launch to first frame"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cpu ms"), std::string::npos) << r.out;
    // The pictures decoded ahead are exactly those start-up loads.
    EXPECT_NE(r.out.find(" loaded, 0 not on the decode-ahead list, 0 on it and never loaded\n"), std::string::npos)
        << r.out;
    std::string whole = readFile(dir + "/whole.json");
    const std::string peakKey = "\"peak_resident_mb\": ";
    expectInOrder(whole, {"\"startup\"", peakKey, "\"window\": \"citation\", \"frames\": 331", "\"cpu_ms\": ",
                          "\"window\": \"citation2\", \"frames\": 90"});
    // The show holds well over 50 MB once started; the summary prints the same peak.
    double peakMb = std::atof(whole.c_str() + whole.find(peakKey) + peakKey.size());
    EXPECT_GT(peakMb, 50.0) << whole;
    char peakLine[64];
    std::snprintf(peakLine, sizeof peakLine, "peak resident memory: %.1f MB\n", peakMb);
    EXPECT_NE(r.out.find(peakLine), std::string::npos) << r.out;

    // 6000, 6100, ..., 6900 inside one window: the run stops short of --to.
    args = timedemo;
    args.insert(args.end(), {"range.json", "--from", "6000", "--to", "7000", "--fps", "10"});
    ASSERT_EQ(runVelmora(dir, args).exitCode, 0);
    std::string json = readFile(dir + "/range.json");
    EXPECT_NE(json.find("\"window\": \"citation2\", \"frames\": 10,"), std::string::npos) << json;
    EXPECT_EQ(json.find("\"window\": \"citation\""), std::string::npos) << json;
}

TEST(Driver, AnOpenGl20DriverDrawsTheSameFrames)
{
    std::string dir = makeWorkDir("gl20");
    ASSERT_EQ(runVelmora(dir, captureArgs("plain", 8000, 8000, 1, "640x400")).exitCode, 0);
    RunResult old = runVelmora(dir, captureArgs("old", 8000, 8000, 1, "640x400"), 180, {"MESA_GL_VERSION_OVERRIDE=2.0"});
    ASSERT_EQ(old.exitCode, 0) << old.err;
    std::string frame = readFile(dir + "/plain/frame_00000.png");
    ASSERT_FALSE(frame.empty());
    EXPECT_TRUE(frame == readFile(dir + "/old/frame_00000.png"));
}

// Under a display, and with none (SDL's off-screen driver), the same frames.
TEST(Display, WithNoDisplayACaptureDrawsTheSameFramesOffScreen)
{
    std::string dir = makeWorkDir("offscreen");
    for (int ms : {30000, 132000}) {
        std::string shown = std::to_string(ms) + "-shown", hidden = std::to_string(ms) + "-hidden";
        ASSERT_EQ(runVelmora(dir, captureArgs(shown, ms, ms)).exitCode, 0);
        RunResult r = runVelmora(dir, captureArgs(hidden, ms, ms), 180,
                                 {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::string frame = readFile(framePath(dir + "/" + shown, 0));
        ASSERT_FALSE(frame.empty());
        EXPECT_TRUE(frame == readFile(framePath(dir + "/" + hidden, 0))) << ms;
    }
}

// The overlay and the title model have tests of their own failures.
TEST(MissingData, EveryPictureAndModelTheShowLoadsEndsStartUpNamingIt)
{
    for (const char* file : {"gfx/roots.png", "gfx/CGSkies_0225_thumblarge.jpg", "gfx/CGSkies_0092_thumblarge.jpg",
                             "gfx/ground.jpg", "gfx/modern-space.png", "3D/starttext.jpg", "3D/logo2.3ds",
                             "gfx/smoke1.png", "gfx/smoke4.png", "3D/logo2.png", "3D/logo2ao.png", "3D/logo2map.png",
                             "3D/silvate.3ds", "gfx/chaos_color.png", "gfx/normal1.jpg", "gfx/moon.png",
                             "3D/shrooms5.3DS", "3D/shrooms4.3DS", "3D/shrooms5col2.jpg", "3D/shrooms5Nor2.jpg",
                             "3D/shrooms4col.png", "3D/shrooms4Nor.png", "gfx/starflare.png"}) {
        std::string dir = makeWorkDir("missing", {file});
        expectStartupFailure(runVelmora(dir, captureArgs("f", 0, 0), 60), dir, file, file);
    }
}

TEST(MissingData, AMissingEmptyTruncatedOrFalseOverlayEndsStartUpWithItsLine)
{
    const std::string overlay = "data/gfx/overlay.png";
    const std::string line = " -> IMAGE MANAGER :: failed to load '" + overlay + "'";
    std::string bytes = readFile(std::string(VELMORA_DATA_DIR) + "/gfx/overlay.png");
    ASSERT_GT(bytes.size(), 1000u);
    const struct {
        const char* tag;
        const char* contents; // nullptr: no file; "/": a directory
    } cases[] = {{"missing", nullptr}, {"empty", ""}, {"truncated", "cut"}, {"directory", "/"},
                 {"text", "this is not a picture, only some words pretending to be one\n"}};
    for (const auto& c : cases) {
        std::string dir = makeWorkDir(std::string("gfx-") + c.tag, {"gfx/overlay.png"});
        std::string path = dir + "/" + overlay;
        if (c.contents && std::string(c.contents) == "/")
            fs::create_directories(path);
        else if (c.contents)
            writeFile(path, std::string(c.contents) == "cut" ? bytes.substr(0, bytes.size() / 3) : c.contents);
        RunResult run = runVelmora(dir, captureArgs("f", 0, 0), 60);
        EXPECT_FALSE(run.timedOut) << c.tag;
        expectStartupFailure(run, dir, overlay, line);
        EXPECT_EQ(lastLine(readFile(dir + "/debug_log.txt")), line) << c.tag;
    }
}
