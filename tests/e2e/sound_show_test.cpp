// The whole program and its music: the log of a normal start, and a show that
// runs to its end on the silent clock when the music file is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "support/test_support.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

const std::vector<std::string> kWindowed = {"--go", "--windowed", "--mode", "320x200"};

// A work dir whose script ends the show at endMs.
std::string showDir(const std::string& tag, int endMs, const std::vector<std::string>& leaveOut = {})
{
    std::string dir = makeWorkDir(tag, leaveOut);
    std::string script = dir + "/data/heaven.scpt";
    fs::remove(script); // a link into the build's data
    writeFile(script, "demoend.start " + std::to_string(endMs) + "\n");
    return dir;
}

} // namespace

TEST(ShowMusic, ThePlayingLineComesRightBeforeTheDemoStarts)
{
    std::string dir = showDir("sound-log", 1500);
    RunResult run = runVelmora(dir, kWindowed, 120);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::string log = readFile(dir + "/debug_log.txt");
    EXPECT_NE(log.find(" -> SOUND MANAGER :: Playing 'data/music/drellnivar-Velmora.ogg'.\n"
                       "\n -- Demo starts -- \n\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("couldn't load"), std::string::npos);
}

TEST(ShowMusic, WithoutTheMusicFileTheShowRunsSilentlyToItsEnd)
{
    std::string dir = showDir("sound-missing", 4000, {"music/drellnivar-Velmora.ogg"});
    auto start = std::chrono::steady_clock::now();
    RunResult run = runVelmora(dir, kWindowed, 120);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // The show's time ran from 0 to 4000 ms before it ended.
    EXPECT_GE(seconds, 4.0);
    std::string log = readFile(dir + "/debug_log.txt");
    EXPECT_NE(log.find(" -> SOUND MANAGER :: couldn't load music file:'data/music/drellnivar-Velmora.ogg'.\n"
                       "\n -- Demo starts -- \n\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find(" -- Demo ends -- \n\n"), std::string::npos);
}

TEST(ShowMusic, CaptureChecksTheMusicWithoutPlayingIt)
{
    std::string dir = showDir("sound-capture", 100000);
    std::string frames = dir + "/frames";
    RunResult run = runVelmora(dir, {"--go", "--windowed", "--mode", "160x100", "--capture", frames, "--fps", "10",
                                     "--from", "1000", "--to", "1100"},
                               120, {"SDL_AUDIODRIVER=none-such"});
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fileExists(frames + "/frame_00001.png"));
    std::string log = readFile(dir + "/debug_log.txt");
    EXPECT_NE(log.find(" -> SOUND MANAGER :: Playing 'data/music/drellnivar-Velmora.ogg'.\n"), std::string::npos)
        << log;
}

TEST(ShowMusic, StartSeeksTheMusicAndTheSilentClockAlike)
{
    // The show ends at 8000 ms of music time; started at 7000 it gets there in
    // about a second, whether the music plays or the silent clock stands in.
    for (bool withMusic : {true, false}) {
        std::vector<std::string> leaveOut;
        if (!withMusic)
            leaveOut.push_back("music/drellnivar-Velmora.ogg");
        std::string dir = showDir(withMusic ? "sound-start" : "sound-start-silent", 8000, leaveOut);
        std::vector<std::string> args = kWindowed;
        args.insert(args.end(), {"--start", "7000"});
        auto start = std::chrono::steady_clock::now();
        RunResult run = runVelmora(dir, args, 60);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ASSERT_FALSE(run.timedOut) << withMusic;
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_LT(seconds, 8.0) << (withMusic ? "the stream" : "the silent clock") << " started at 0";
        std::string log = readFile(dir + "/debug_log.txt");
        EXPECT_NE(log.find(withMusic ? "Playing" : "couldn't load"), std::string::npos) << log;
        EXPECT_NE(log.find(" -- Demo ends -- \n\n"), std::string::npos);
    }
}

TEST(ShowMusic, ACaptureFromStartShowsTheSameFrameAsFrom)
{
    std::string dir = showDir("sound-start-capture", 100000);
    const std::vector<std::string> base = {"--go", "--windowed", "--mode", "160x100", "--fps", "10", "--to", "30000"};
    auto captureWith = [&](const std::string& out, const char* option) {
        std::vector<std::string> args = base;
        args.insert(args.end(), {"--capture", out, option, "30000"});
        return runVelmora(dir, args, 120);
    };
    RunResult fromRun = captureWith(dir + "/from", "--from");
    ASSERT_EQ(fromRun.exitCode, 0) << fromRun.err;
    RunResult startRun = captureWith(dir + "/start", "--start");
    ASSERT_EQ(startRun.exitCode, 0) << startRun.err;
    EXPECT_FALSE(fileExists(dir + "/start/frame_00001.png")) << "one frame, at 30000 ms";
    std::string fromFrame = readFile(dir + "/from/frame_00000.png");
    ASSERT_FALSE(fromFrame.empty());
    EXPECT_EQ(readFile(dir + "/start/frame_00000.png"), fromFrame);
}
