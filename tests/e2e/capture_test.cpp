// What a capture writes, however its frames are read back and wherever they
// go, and how it ends when a writer fails.
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

// The frames of that range as the capture wrote them before its read-back and
// writers left the main thread: FNV-1a hashes of their RGB bytes, rows
// top-down, on the renderer of the Mesa package named here.
const char* kReferenceMesa = "22.3.6-1+deb12u2";
const char* kReferenceHashes[kFrames] = {"9b7c2c31d3340348", "aa84b4f75598d1d4", "6a3467f3397f7f10",
                                         "109b09b5d1cd6ce7", "1d8bb79e2fa2afd1", "50f098659384d0fc",
                                         "2a447f84af275a26"};

std::string pixelHash(const std::string& rgb)
{
    uint64_t h = 14695981039346656037ull;
    for (unsigned char byte : rgb) {
        h ^= byte;
        h *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

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

TEST(CaptureFrames, AreThoseWrittenBeforeWithOrWithoutPixelBuffersAndInTheVideoStream)
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

    const std::string mesa = shell("dpkg-query -W -f '${Version}' libgl1-mesa-dri");
    if (mesa != kReferenceMesa) {
        std::printf("The reference hashes come from Mesa %s, this machine has %s: not compared.\n", kReferenceMesa,
                    mesa.c_str());
        return;
    }
    for (int k = 0; k < kFrames; ++k)
        EXPECT_EQ(pixelHash(frames[k]), kReferenceHashes[k]) << "frame " << k;
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
