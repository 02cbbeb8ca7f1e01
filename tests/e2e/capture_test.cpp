// What a capture writes, however its frames are read back and wherever they
// go, and how it ends when a writer fails. That the frames are those the show
// drew before its read-back left the main thread is the reference test's
// check (tests/reference): its stored frames predate that change.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "support/test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

constexpr int kFrames = 7; // 150 to 153 s at 2 fps, 320 x 200
constexpr size_t kFrameBytes = 320 * 200 * 3;

// The frames of dir/out, one RGB string each.
std::vector<std::string> framesOf(const std::string& out)
{
    std::vector<std::string> frames;
    for (int k = 0; fileExists(framePath(out, k)); ++k) {
        Image image = readFrame(framePath(out, k));
        frames.emplace_back(image.rgb.begin(), image.rgb.end());
    }
    return frames;
}

// A stand-in for ffmpeg, first on the run's PATH: it copies the raw frames it
// is fed into the output file (its last argument), all of them, or only the
// first `bytes` bytes before it exits with status 3.
std::vector<std::string> fakeEncoder(const std::string& dir, long bytes = -1)
{
    fs::create_directories(dir + "/bin");
    std::string copy = bytes < 0 ? "cat" : "head -c " + std::to_string(bytes);
    writeFile(dir + "/bin/ffmpeg", "#!/bin/sh\nfor out; do :; done\n" + copy + " > \"$out\"\n" +
                                       (bytes < 0 ? "" : "exit 3\n"));
    fs::permissions(dir + "/bin/ffmpeg", fs::perms::owner_all);
    return {"PATH=" + dir + "/bin:" + std::getenv("PATH")};
}

} // namespace

TEST(CaptureFrames, AreTheSameWithOrWithoutPixelBuffersAndInTheVideoStream)
{
    std::string dir = makeWorkDir("capture-same");
    RunResult run = runVelmora(dir, captureArgs("pbo", 150000, 153000, 2));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("frame 7 of 7, "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" fps, 0:00 left\n"), std::string::npos) << run.err;
    std::vector<std::string> frames = framesOf(dir + "/pbo");
    ASSERT_EQ(frames.size(), static_cast<size_t>(kFrames));

    // A driver without pixel-buffer objects: each frame read back as it ends.
    run = runVelmora(dir, captureArgs("plain", 150000, 153000, 2), 180,
                     {"MESA_GL_VERSION_OVERRIDE=2.0", "MESA_EXTENSION_OVERRIDE=-GL_ARB_pixel_buffer_object"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(framesOf(dir + "/plain") == frames) << "the frames differ without pixel-buffer objects";

    // The encoder is fed the same pixels, in order.
    run = runVelmora(dir, captureArgs("out.mp4", 150000, 153000, 2), 180, fakeEncoder(dir));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string stream = readFile(dir + "/out.mp4");
    ASSERT_EQ(stream.size(), kFrames * kFrameBytes);
    for (int k = 0; k < kFrames; ++k)
        EXPECT_TRUE(stream.compare(k * kFrameBytes, kFrameBytes, frames[k]) == 0) << "video frame " << k;

}

TEST(CaptureFailure, AFullDiskEndsTheRunWithExitOneAndKeepsTheFramesWritten)
{
    std::string dir = makeWorkDir("capture-full");
    fs::create_directories(dir + "/f");
    fs::create_symlink("/dev/full", framePath(dir + "/f", 3)); // writes there fail with ENOSPC
    RunResult run = runVelmora(dir, captureArgs("f", 0, 1000), 120);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("frame_00003.png': No space left on device"), std::string::npos) << run.err;
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(readFrame(framePath(dir + "/f", k)).width, 320) << k;
    EXPECT_FALSE(fs::exists(fs::symlink_status(framePath(dir + "/f", 3)))) << "no half-written frame stays";
    EXPECT_FALSE(fileExists(framePath(dir + "/f", 10))) << "the capture stopped";
}

TEST(CaptureFailure, AnEncoderThatDiesMidwayEndsTheRunWithExitOneAndKeepsWhatItTook)
{
    std::string dir = makeWorkDir("capture-encoder");
    const long taken = 3 * kFrameBytes + 1000;
    RunResult run = runVelmora(dir, captureArgs("out.mp4", 0, 2000), 120, fakeEncoder(dir, taken));
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("velmora: ffmpeg stopped taking frames (it exited with status 3)"), std::string::npos)
        << run.err;
    EXPECT_EQ(readFile(dir + "/out.mp4").size(), static_cast<size_t>(taken));
}
