// A capture split into jobs: the frames of one process, numbered as one run,
// a video joined with the music once, and a clean end when a part fails or
// the run is interrupted.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "support/test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// The parts' scratch directories still in dir, and the processes still at
// work on them (a worker or its encoder names its part's directory).
std::vector<std::string> leftovers(const std::string& dir)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(dir, fs::directory_options::skip_permission_denied))
        if (entry.path().filename().string().starts_with(".velmora-parts"))
            found.push_back(entry.path().string());
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::string command = readFile(entry.path().string() + "/cmdline");
        std::replace(command.begin(), command.end(), '\0', ' ');
        if (command.find(dir + "/") != std::string::npos && command.find("/.velmora-parts") != std::string::npos)
            found.push_back("process " + entry.path().filename().string() + ": " + command);
    }
    return found;
}

std::vector<std::vector<uint8_t>> framesOf(const std::string& out)
{
    std::vector<std::vector<uint8_t>> frames;
    for (int k = 0; fileExists(framePath(out, k)); ++k)
        frames.push_back(readFrame(framePath(out, k)).rgb);
    return frames;
}

std::vector<std::string> withJobs(std::vector<std::string> args, int jobs)
{
    args.insert(args.end(), {"--jobs", std::to_string(jobs)});
    return args;
}

// ffprobe's count of one kind of stream in a video ("v" or "a").
std::string streamCount(const std::string& video, const std::string& kind)
{
    return shell("ffprobe -v error -select_streams " + kind + " -show_entries stream=index -of csv=p=0 '" + video +
                 "' | wc -l | tr -d ' \\n'");
}
// The times of its video frames, in seconds, one a line.
std::string frameTimes(const std::string& video)
{
    return shell("ffprobe -v error -select_streams v -show_entries frame=pts_time -of csv=p=0 '" + video +
                 "' | tr -d , | grep .");
}

} // namespace

TEST(CaptureJobs, TwoJobsWriteTheFramesOfOneProcessNumberedAsOneRun)
{
    std::string dir = makeWorkDir("jobs-frames");
    RunResult one = runVelmora(dir, captureArgs("one", 150000, 150500, 10, "160x100"));
    ASSERT_EQ(one.exitCode, 0) << one.err;
    RunResult two = runVelmora(dir, withJobs(captureArgs("two", 150000, 150500, 10, "160x100"), 2));
    ASSERT_EQ(two.exitCode, 0) << two.err;
    expectInOrder(two.err, {"capture: 6 frames in 2 jobs (150000 to 150200 ms, 150300 to 150500 ms)",
                            "frame 6 of 6, "});

    const auto frames = framesOf(dir + "/one");
    ASSERT_EQ(frames.size(), 6u);
    const auto joined = framesOf(dir + "/two");
    ASSERT_EQ(joined.size(), frames.size());
    for (size_t k = 0; k < frames.size(); ++k)
        EXPECT_TRUE(joined[k] == frames[k]) << "frame " << k << " differs from the one-process capture";
    EXPECT_EQ(leftovers(dir), std::vector<std::string>());
    EXPECT_NE(readFile(dir + "/debug_log.txt").find("Demo starts"), std::string::npos) << "the run keeps a log";
}

TEST(CaptureJobs, AVideoJoinsOnePartPerFrameAtMostWithTheMusicLaidOnce)
{
    std::string dir = makeWorkDir("jobs-video");
    // At 24 fps a part's length is no whole number of milliseconds.
    RunResult run = runVelmora(dir, withJobs(captureArgs("out.mp4", 20000, 20100, 24, "160x100"), 5));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("capture: 3 frames in 3 jobs"), std::string::npos) << run.err;
    EXPECT_EQ(frameTimes(dir + "/out.mp4"), "0.000000\n0.041667\n0.083333\n") << "evenly spaced, none lost";
    EXPECT_EQ(streamCount(dir + "/out.mp4", "v"), "1");
    EXPECT_EQ(streamCount(dir + "/out.mp4", "a"), "1");
    EXPECT_EQ(leftovers(dir), std::vector<std::string>());
}

TEST(CaptureJobs, AFailingPartEndsTheRunWithExitOneNamingItsRangeAndLeavesNoVideo)
{
    std::string dir = makeWorkDir("jobs-fail");
    // An encoder that fails for the second part and takes the first part's frames.
    fs::create_directories(dir + "/bin");
    writeFile(dir + "/bin/ffmpeg", "#!/bin/sh\ncase \"$*\" in *part2/*) echo 'disk on fire' >&2; exit 3;; esac\n"
                                   "for out; do :; done\ncat > \"$out\"\n");
    fs::permissions(dir + "/bin/ffmpeg", fs::perms::owner_all);
    RunResult run = runVelmora(dir, withJobs(captureArgs("out.mp4", 20000, 20300, 10, "160x100"), 2), 180,
                               {"PATH=" + dir + "/bin:" + std::getenv("PATH")});
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 1);
    expectInOrder(run.err, {"velmora: part 20200 to 20300 ms: disk on fire",
                            "velmora: the part rendering 20200 to 20300 ms failed (exit status 1)"});
    EXPECT_FALSE(fs::exists(dir + "/out.mp4"));
    EXPECT_EQ(leftovers(dir), std::vector<std::string>());
}

TEST(CaptureJobs, AnInterruptStopsEveryPartAndWritesNoVideo)
{
    std::string dir = makeWorkDir("jobs-interrupt");
    Program program{startVelmora(dir, withJobs(captureArgs("out.mp4", 20000, 60000, 10, "160x100"), 2))};
    // Interrupted while both parts capture: each has its own log by then.
    ASSERT_TRUE(waitUntil(60, [&] {
        return shell("cat " + dir + "/.velmora-parts-*/part*/log.txt 2>/dev/null | grep -c 'Demo starts'") ==
               "2\n";
    }));
    kill(program.running.pid, SIGINT);
    RunResult run = program.finish(30);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 130) << run.err;
    EXPECT_NE(run.err.find("capture interrupted"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir + "/out.mp4"));
    EXPECT_EQ(leftovers(dir), std::vector<std::string>());
}
