// The show from the loading bar to its end, captured at a fixed step: it ends
// by itself, logs its start-up in order, repeats itself exactly, and its fades
// and flash reach the picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

using namespace testsupport;

namespace {

// Captures [fromMs, toMs] at one frame per second into dir/f.
RunResult capture(const std::string& dir, int fromMs, int toMs, const std::vector<std::string>& extra = {})
{
    std::vector<std::string> args = {"--go", "--windowed", "--mode", "320x200", "--capture", dir + "/f",
                                     "--fps", "1", "--from", std::to_string(fromMs), "--to", std::to_string(toMs)};
    args.insert(args.end(), extra.begin(), extra.end());
    return runVelmora(dir, args, 300);
}

Image frame(const std::string& dir, int index)
{
    Image image;
    char name[64];
    std::snprintf(name, sizeof name, "/f/frame_%05d.png", index);
    EXPECT_TRUE(readPng(dir + name, image)) << name;
    return image;
}

} // namespace

TEST(Show, RunsFromTheLoadingBarToItsOwnEndAndLogsItsStartUpInOrder)
{
    std::string dir = makeWorkDir("show-whole");
    RunResult run = runVelmora(dir, {"--go", "--windowed", "--mode", "320x200", "--capture", dir + "/f", "--fps", "1"}, 600);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fileExists(dir + "/f/frame_00203.png")); // 0 .. 203 s
    EXPECT_FALSE(fileExists(dir + "/f/frame_00204.png"));

    std::string log = readFile(dir + "/debug_log.txt");
    EXPECT_EQ(log.rfind("\n -- Intro and effects initialisations --  \n \n", 0), 0u);
    size_t last = 0;
    for (const char* name : {"Depth Reader", "Gaussian Blur", "Bokeh Depth of Field (DOF)", "Logo post-process",
                             "Snake-Cube bloomer", "Bump mapping", "silvate logo"}) {
        size_t at = log.find(std::string(" -> SHADER '") + name + "' STATUS :: ");
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_GT(at, last) << name << " out of order";
        last = at;
    }
    size_t starts = log.find("\n -- Demo starts -- \n\n");
    ASSERT_NE(starts, std::string::npos);
    EXPECT_GT(starts, last);
    // The start-up part ends with the music, then the frame clock.
    const std::string playing = " -> SOUND MANAGER :: Playing 'data/music/drellnivar-Velmora.ogg'.\n";
    ASSERT_GE(starts, playing.size());
    EXPECT_EQ(log.substr(starts - playing.size(), playing.size()), playing);
    EXPECT_GT(log.find(" -- Demo ends -- \n\n"), starts);
}

TEST(Show, WithoutALogTheShowRunsTheSame)
{
    std::string logged = makeWorkDir("show-logged");
    std::string unlogged = makeWorkDir("show-unlogged");
    // A directory where the log would go: it cannot be opened, even by root.
    std::filesystem::create_directory(unlogged + "/debug_log.txt");
    RunResult run = capture(unlogged, 84000, 84000);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(capture(logged, 84000, 84000).exitCode, 0);
    EXPECT_TRUE(std::filesystem::is_directory(unlogged + "/debug_log.txt"));
    std::string withLog = readFile(logged + "/f/frame_00000.png");
    EXPECT_FALSE(withLog.empty());
    EXPECT_EQ(readFile(unlogged + "/f/frame_00000.png"), withLog);
}

TEST(Show, TwoCapturesOfTheSameStretchAreIdentical)
{
    std::string a = makeWorkDir("show-same-a");
    std::string b = makeWorkDir("show-same-b");
    ASSERT_EQ(capture(a, 124000, 126000).exitCode, 0);
    ASSERT_EQ(capture(b, 124000, 126000).exitCode, 0);
    for (int i = 0; i < 3; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/f/frame_%05d.png", i);
        EXPECT_EQ(readFile(a + name), readFile(b + name)) << name;
    }
}

TEST(Show, FadedOutWindowsAreBlackAndTheRootsFlashFillsTheScreen)
{
    std::string dir = makeWorkDir("show-fades");
    // Iterations opens and closes at alpha 0, and is drawn last at both ends.
    ASSERT_EQ(capture(dir, 95500, 95500).exitCode, 0);
    EXPECT_LT(frame(dir, 0).meanLevel(0, 0, 320, 200), 3.0);
    ASSERT_EQ(capture(dir, 120000, 120000).exitCode, 0);
    EXPECT_LT(frame(dir, 0).meanLevel(0, 0, 320, 200), 3.0);
    ASSERT_EQ(capture(dir, 0, 0).exitCode, 0); // the quotation fades in from black
    EXPECT_LT(frame(dir, 0).meanLevel(0, 0, 320, 200), 3.0);

    ASSERT_EQ(capture(dir, 131994, 131994).exitCode, 0);
    Image flash = frame(dir, 0);
    EXPECT_GT(flash.meanLevel(0, 0, 320, 200), 120.0);
    for (int x : {0, 280})
        for (int y : {0, 160})
            EXPECT_GT(flash.meanLevel(x, y, x + 40, y + 40), 40.0) << "corner " << x << "," << y;
    ASSERT_EQ(capture(dir, 127000, 127000).exitCode, 0); // the roots before the flash are far darker
    EXPECT_LT(frame(dir, 0).meanLevel(0, 0, 320, 200), 0.5 * flash.meanLevel(0, 0, 320, 200));
}
