// The show from the loading bar to its end, captured at a fixed step: it ends
// by itself, logs its start-up in order, and repeats itself exactly.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

using namespace testsupport;

namespace {

// Captures [fromMs, toMs] at one frame per second into dir/f.
RunResult capture(const std::string& dir, int fromMs, int toMs)
{
    return runVelmora(dir, captureArgs(dir + "/f", fromMs, toMs, 1), 300);
}

} // namespace

TEST(Show, RunsFromTheLoadingBarToItsOwnEndAndLogsItsStartUpInOrder)
{
    std::string dir = makeWorkDir("show-whole");
    RunResult run = runVelmora(dir, {"--windowed", "--mode", "320x200", "--capture", dir + "/f", "--fps", "1"}, 600);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0) << run.err;

    std::string log = readFile(dir + "/debug_log.txt");
    EXPECT_EQ(log.rfind("\n -- Intro and effects initialisations --  \n \n", 0), 0u);
    std::vector<std::string> order;
    for (const char* name : {"Depth Reader", "Gaussian Blur", "Bokeh Depth of Field (DOF)", "Logo post-process",
                             "Snake-Cube bloomer", "Bump mapping", "silvate logo"})
        order.push_back(std::string(" -> SHADER '") + name + "' STATUS :: ");
    // The procedural textures, then the overlay, the logo scene's pictures,
    // the skies and the beast's paths; the unit tests pin the steps' order.
    order.push_back("Texture 'mask' (512 x 512) created.");
    for (const char* image : {"gfx/overlay.png", "gfx/smoke1.png", "gfx/smoke4.png", "3D/logo2.png", "3D/logo2ao.png",
                              "3D/logo2map.png", "gfx/CGSkies_0225_thumblarge.jpg"})
        order.push_back(std::string("'data/") + image + "' loaded.");
    // The start-up part ends with the music, then the frame clock; the shutdown
    // releases the textures and the paths in the order they were made.
    for (const char* line :
         {"Camera path 'tracking the beast' created.", "Camera path 'following the beast' created.",
          " -> SOUND MANAGER :: Playing 'data/music/drellnivar-Velmora.ogg'.\n\n -- Demo starts -- \n\n",
          " -- Demo ends -- \n\n", "Texture 'flare' (32 x 32) destroyed.",
          "Camera path 'tracking the beast' destroyed.", "Camera path 'following the beast' destroyed."})
        order.push_back(line);
    expectInOrder(log, order);
}

TEST(Show, TwoCapturesOfTheSameStretchAreIdenticalWithOrWithoutALog)
{
    std::string logged = makeWorkDir("show-same-a");
    std::string unlogged = makeWorkDir("show-same-b");
    // A directory where the log would go: it cannot be opened, even by root.
    std::filesystem::create_directory(unlogged + "/debug_log.txt");
    ASSERT_EQ(capture(logged, 124000, 126000).exitCode, 0);
    RunResult run = capture(unlogged, 124000, 126000);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_directory(unlogged + "/debug_log.txt"));
    for (int i = 0; i < 3; ++i) {
        std::string frame = readFile(framePath(logged + "/f", i));
        EXPECT_FALSE(frame.empty()) << i;
        EXPECT_EQ(readFile(framePath(unlogged + "/f", i)), frame) << i;
    }
}

TEST(Show, IterationsIsDrawnLastAndBlackAtItsFirstMillisecond)
{
    // It opens at alpha 0 on the clouds' last millisecond, between the
    // reference capture's whole seconds.
    EXPECT_LT(frameAt(makeWorkDir("show-fades"), 95500).meanLevel(0, 0, 320, 200), 3.0);
}
