// The whole program and its music: a show that starts where asked with the
// music or, when the music file is missing, on the silent clock.
#include <gtest/gtest.h>

#include <chrono>

#include "support/test_support.h"

using namespace testsupport;

namespace {

const std::string kMusic = "music/drellnivar-Velmora.ogg";

// A work dir whose script ends the show at endMs.
std::string showDir(const std::string& tag, int endMs, const std::vector<std::string>& leaveOut = {})
{
    std::string dir = makeWorkDir(tag, leaveOut);
    useScript(dir, "demoend.start " + std::to_string(endMs) + "\n");
    return dir;
}

} // namespace

TEST(ShowMusic, StartSeeksTheMusicAndTheSilentClockAlike)
{
    // The show ends at 8000 ms of music time; started at 7000 it gets there in
    // about a second, whether the music plays or the silent clock stands in.
    for (bool withMusic : {true, false}) {
        std::string dir = showDir(withMusic ? "sound-start" : "sound-start-silent", 8000,
                                  withMusic ? std::vector<std::string>{} : std::vector<std::string>{kMusic});
        auto start = std::chrono::steady_clock::now();
        RunResult run = runVelmora(dir, {"--go", "--windowed", "--mode", "320x200", "--start", "7000"}, 60);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ASSERT_FALSE(run.timedOut) << withMusic;
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_LT(seconds, 8.0) << (withMusic ? "the stream" : "the silent clock") << " started at 0";
        EXPECT_GE(seconds, 1.0) << "the show's time ran from 7000 to 8000 ms";
        std::string line = withMusic ? " -> SOUND MANAGER :: Playing 'data/" + kMusic + "'.\n"
                                     : " -> SOUND MANAGER :: couldn't load music file:'data/" + kMusic + "'.\n";
        expectInOrder(readFile(dir + "/debug_log.txt"), {line + "\n -- Demo starts -- \n\n", " -- Demo ends -- \n\n"});
    }
}

TEST(ShowMusic, ACaptureFromStartShowsTheSameFrameAsFromAndChecksTheMusicWithoutPlayingIt)
{
    std::string dir = showDir("sound-start-capture", 100000);
    auto captureWith = [&](const std::string& out, const char* option, std::vector<std::string> env) {
        return runVelmora(dir, {"--windowed", "--mode", "160x100", "--fps", "10", "--to", "30000", "--capture", out,
                                option, "30000"}, 120, env);
    };
    // No audio device is opened for a capture.
    RunResult fromRun = captureWith(dir + "/from", "--from", {"SDL_AUDIODRIVER=none-such"});
    ASSERT_EQ(fromRun.exitCode, 0) << fromRun.err;
    EXPECT_NE(readFile(dir + "/debug_log.txt").find(" -> SOUND MANAGER :: Playing 'data/" + kMusic + "'.\n"),
              std::string::npos);
    RunResult startRun = captureWith(dir + "/start", "--start", {});
    ASSERT_EQ(startRun.exitCode, 0) << startRun.err;
    EXPECT_FALSE(fileExists(dir + "/start/frame_00001.png")) << "one frame, at 30000 ms";
    std::string fromFrame = readFile(dir + "/from/frame_00000.png");
    ASSERT_FALSE(fromFrame.empty());
    EXPECT_EQ(readFile(dir + "/start/frame_00000.png"), fromFrame);
}
