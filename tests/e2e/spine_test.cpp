#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "support/test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

const char* kTitle = "Korvane & Silvate  :: Velmora";
const char* kDemoEnds = " -- Demo ends -- \n\n";

// A script in the run's data/ instead of the generated one.
void useScript(const std::string& dir, const std::string& text)
{
    fs::remove(dir + "/data/heaven.scpt");
    writeFile(dir + "/data/heaven.scpt", text);
}

std::vector<std::string> captureArgs(const std::string& out, const char* from, const char* to, const char* fps)
{
    return {"--go", "--windowed", "--mode", "640x400", "--capture", out, "--from", from, "--to", to, "--fps", fps};
}

// After the end line the log may hold only the shutdown's release lines.
void expectCompleteLog(const std::string& log)
{
    size_t end = log.find(kDemoEnds);
    ASSERT_NE(end, std::string::npos) << log;
    std::string tail = log.substr(end + std::string(kDemoEnds).size());
    size_t pos = 0;
    while (pos < tail.size()) {
        size_t next = tail.find('\n', pos);
        std::string line = tail.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
        EXPECT_EQ(line.rfind(" -> ", 0), 0u) << "unexpected line after the end: '" << line << "'";
        pos = next == std::string::npos ? tail.size() : next + 1;
    }
}

} // namespace

TEST(CommandLine, HelpAndVersionExitZero)
{
    std::string dir = makeWorkDir("help");
    RunResult help = runVelmora(dir, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--capture PATH"), std::string::npos);
    RunResult version = runVelmora(dir, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("velmora ", 0), 0u);
    EXPECT_FALSE(fileExists(dir + "/debug_log.txt"));
}

TEST(CommandLine, UnknownOptionsAndBadValuesExitTwoWithAUsageLine)
{
    std::string dir = makeWorkDir("badopt");
    for (auto args : std::vector<std::vector<std::string>>{
             {"--frobnicate"}, {"--mode", "big"}, {"--fps", "-3"}, {"--aspect"}}) {
        RunResult r = runVelmora(dir, args);
        EXPECT_EQ(r.exitCode, 2) << args[0];
        EXPECT_NE(r.err.find("usage: velmora"), std::string::npos);
    }
}

TEST(Display, WithoutADisplayTheProgramSaysSoInOneLineAndExitsOne)
{
    std::string dir = makeWorkDir("nodisplay");
    RunResult r = runVelmora(dir, {"--go", "--windowed"}, 30, {"DISPLAY=", "WAYLAND_DISPLAY="});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("no display"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

TEST(Capture, ElevenFramesOfTheModesSizeAndTheSameBytesEveryRun)
{
    std::string dir = makeWorkDir("capture");
    RunResult first = runVelmora(dir, captureArgs("a", "0", "1000", "10"));
    ASSERT_EQ(first.exitCode, 0) << first.err;
    RunResult second = runVelmora(dir, captureArgs("b", "0", "1000", "10"));
    ASSERT_EQ(second.exitCode, 0) << second.err;
    for (int k = 0; k <= 10; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%05d.png", k);
        Image image;
        ASSERT_TRUE(readPng(dir + "/a" + name, image)) << name;
        EXPECT_EQ(image.width, 640);
        EXPECT_EQ(image.height, 400);
        EXPECT_EQ(readFile(dir + "/a" + name), readFile(dir + "/b" + name)) << name;
    }
    EXPECT_FALSE(fileExists(dir + "/a/frame_00011.png"));
    EXPECT_NE(first.err.find("frame 11 of 11"), std::string::npos) << "progress is shown";
}

TEST(Capture, AVideoFileGetsAPlayableMovie)
{
    std::string dir = makeWorkDir("video");
    RunResult r = runVelmora(dir, captureArgs("out.mp4", "0", "500", "10"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string movie = readFile(dir + "/out.mp4");
    ASSERT_GT(movie.size(), 1000u);
    EXPECT_EQ(movie.substr(4, 4), "ftyp");
    // A player finds six frames of 640 x 400 and the music beside them.
    std::string probe = "ffprobe -v error -count_frames -show_entries stream=codec_type,width,height,nb_read_frames "
                        "-of csv=p=0 '" + dir + "/out.mp4'";
    FILE* pipe = popen(probe.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string streams;
    char line[256];
    while (fgets(line, sizeof line, pipe))
        streams += line;
    pclose(pipe);
    EXPECT_NE(streams.find("video,640,400,6"), std::string::npos) << streams;
    EXPECT_NE(streams.find("audio"), std::string::npos) << streams;
}

TEST(Capture, AnUnwritableTargetFailsWithExitOne)
{
    std::string dir = makeWorkDir("capfail");
    writeFile(dir + "/blocker", "x");
    RunResult r = runVelmora(dir, captureArgs("blocker/frames", "0", "100", "10"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("blocker/frames"), std::string::npos) << r.err;
}

TEST(EndOfShow, AScriptThatMovesTheEndStopsTheShowThere)
{
    std::string dir = makeWorkDir("demoend");
    useScript(dir, "demoend.start 500\n");
    RunResult r = runVelmora(dir, {"--go", "--windowed", "--mode", "320x200", "--capture", "f", "--fps", "10"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fileExists(dir + "/f/frame_00005.png"));
    EXPECT_FALSE(fileExists(dir + "/f/frame_00006.png")) << "the frame at 500 ms ends the show";
    expectCompleteLog(readFile(dir + "/debug_log.txt"));
}

TEST(Script, MissingBinaryAndEnormousScriptsNeverStopTheShow)
{
    std::string dir = makeWorkDir("badscript", {"heaven.scpt"});
    auto args = captureArgs("f", "0", "200", "10");
    RunResult missing = runVelmora(dir, args);
    EXPECT_EQ(missing.exitCode, 0) << missing.err;

    std::mt19937 random(99);
    std::string bytes(64 * 1024, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    useScript(dir, bytes);
    RunResult binary = runVelmora(dir, args);
    EXPECT_EQ(binary.exitCode, 0) << binary.err;

    useScript(dir, "citation.end 5500 " + std::string(64 * 1024 * 1024, '9') + " x\n");
    RunResult enormous = runVelmora(dir, args, 120);
    EXPECT_EQ(enormous.exitCode, 0) << enormous.err;
}

TEST(Log, WhenTheLogCannotBeOpenedTheShowRunsWithoutIt)
{
    std::string dir = makeWorkDir("nolog");
    fs::create_directory(dir + "/debug_log.txt"); // a directory cannot be opened as the log
    RunResult r = runVelmora(dir, captureArgs("f", "0", "300", "10"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::is_directory(dir + "/debug_log.txt"));
    EXPECT_TRUE(fileExists(dir + "/f/frame_00003.png"));
}

TEST(Log, ItHoldsTheSectionLinesInOrder)
{
    std::string dir = makeWorkDir("sections");
    ASSERT_EQ(runVelmora(dir, captureArgs("f", "0", "100", "10")).exitCode, 0);
    std::string log = readFile(dir + "/debug_log.txt");
    EXPECT_EQ(log.rfind("\n -- Intro and effects initialisations --  \n \n", 0), 0u) << log;
    size_t starts = log.find("\n -- Demo starts -- \n\n");
    size_t ends = log.find(kDemoEnds);
    ASSERT_NE(starts, std::string::npos);
    ASSERT_NE(ends, std::string::npos);
    EXPECT_LT(starts, ends);
}

TEST(Window, ItOpensAtTheModesSizeWithTheTitleAndEscapeEndsTheShow)
{
    std::string dir = makeWorkDir("escape");
    Process show = startVelmora(dir, {"--go", "--windowed", "--mode", "640x400"});
    unsigned long window = waitForWindow(kTitle);
    ASSERT_NE(window, 0u);
    WindowGeometry g;
    ASSERT_TRUE(windowGeometry(window, g));
    EXPECT_EQ(g.width, 640);
    EXPECT_EQ(g.height, 400);
    EXPECT_EQ(windowTitle(window), kTitle);
    EXPECT_EQ(g.x, 1280 / 2 - 640 / 2) << "centred on the screen";
    EXPECT_EQ(g.y, 1024 / 2 - 400 / 2);
    usleep(1500 * 1000); // into the frame loop
    pressKey(window, "a"); // other keys do nothing
    usleep(200 * 1000);
    ASSERT_TRUE(pressKey(window, "Escape"));
    RunResult r = finishVelmora(show, 30);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    expectCompleteLog(readFile(dir + "/debug_log.txt"));
}

TEST(Window, TheCloseButtonEndsTheShow)
{
    std::string dir = makeWorkDir("close");
    Process show = startVelmora(dir, {"--go", "--windowed", "--mode", "320x200"});
    unsigned long window = waitForWindow(kTitle);
    ASSERT_NE(window, 0u);
    usleep(1500 * 1000);
    ASSERT_TRUE(requestClose(window));
    RunResult r = finishVelmora(show, 30);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    expectCompleteLog(readFile(dir + "/debug_log.txt"));
}

TEST(Timedemo, ItReportsStartUpAndPerWindowFrameTimesAsJson)
{
    std::string dir = makeWorkDir("timedemo");
    useScript(dir, "demoend.start 6000\n");
    RunResult r = runVelmora(dir, {"--go", "--windowed", "--mode", "320x200", "--timedemo", "--report", "r.json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("launch to first frame"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("citation2"), std::string::npos) << r.out;
    std::string json = readFile(dir + "/r.json");
    EXPECT_NE(json.find("\"window\": \"citation\", \"frames\": 331"), std::string::npos) << json;
    EXPECT_NE(json.find("\"window\": \"citation2\", \"frames\": 30"), std::string::npos) << json;
    EXPECT_NE(json.find("\"startup\""), std::string::npos);
}

TEST(Timedemo, ARangeInsideOneWindowReportsThatWindowAloneWithItsCpuTime)
{
    std::string dir = makeWorkDir("timedemo-range");
    RunResult r = runVelmora(dir, {"--go", "--windowed", "--mode", "320x200", "--timedemo", "--from", "6000",
                                   "--to", "7000", "--fps", "10", "--report", "r.json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("cpu ms"), std::string::npos) << r.out;
    std::string json = readFile(dir + "/r.json");
    // 6000, 6100, ..., 6900: the run stops short of --to.
    EXPECT_NE(json.find("\"window\": \"citation2\", \"frames\": 10,"), std::string::npos) << json;
    EXPECT_EQ(json.find("\"window\": \"citation\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"cpu_ms\": "), std::string::npos) << json;
}

TEST(Timedemo, ARangeOutsideTheShowIsAUsageError)
{
    std::string dir = makeWorkDir("timedemo-outside");
    for (std::vector<std::string> range : {std::vector<std::string>{"--from", "203001"},
                                           std::vector<std::string>{"--to", "204001"},
                                           std::vector<std::string>{"--from", "9000", "--to", "8000"}}) {
        std::vector<std::string> args = {"--go", "--windowed", "--mode", "320x200", "--timedemo"};
        args.insert(args.end(), range.begin(), range.end());
        RunResult r = runVelmora(dir, args, 60);
        EXPECT_EQ(r.exitCode, 2) << range[1] << ": " << r.err;
        EXPECT_NE(r.err.find("usage: velmora"), std::string::npos) << r.err;
    }
}

TEST(Driver, AnOpenGl20DriverDrawsTheSameFrames)
{
    std::string dir = makeWorkDir("gl20");
    RunResult plain = runVelmora(dir, captureArgs("plain", "8000", "8000", "1"));
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    RunResult old = runVelmora(dir, captureArgs("old", "8000", "8000", "1"), 180, {"MESA_GL_VERSION_OVERRIDE=2.0"});
    ASSERT_EQ(old.exitCode, 0) << old.err;
    std::string frame = readFile(dir + "/plain/frame_00000.png");
    ASSERT_FALSE(frame.empty());
    EXPECT_TRUE(frame == readFile(dir + "/old/frame_00000.png"));
}

TEST(MissingData, EveryPictureAndModelTheShowLoadsEndsStartUpNamingIt)
{
    for (const char* file : {"gfx/overlay.png", "gfx/roots.png", "gfx/CGSkies_0225_thumblarge.jpg",
                             "gfx/CGSkies_0092_thumblarge.jpg", "gfx/ground.jpg", "gfx/modern-space.png",
                             "3D/starttext.jpg", "3D/starttext-export.3ds", "3D/logo2.3ds", "gfx/smoke1.png",
                             "gfx/smoke4.png", "3D/logo2.png", "3D/logo2ao.png", "3D/logo2map.png", "3D/silvate.3ds"}) {
        std::string dir = makeWorkDir("missing", {file});
        RunResult r = runVelmora(dir, captureArgs("f", "0", "0", "10"), 60);
        EXPECT_EQ(r.exitCode, 1) << file;
        EXPECT_NE(r.err.find(file), std::string::npos) << file << ": " << r.err;
        std::string log = readFile(dir + "/debug_log.txt");
        size_t lastLine = log.find_last_of('\n', log.find_last_not_of("\n ")) + 1;
        EXPECT_NE(log.find(file, lastLine), std::string::npos) << file << ": " << log.substr(lastLine);
        EXPECT_FALSE(fileExists(dir + "/f/frame_00000.png")) << file;
    }
}
