// The opening quotation and the credits in the running show, and what a
// broken title model does to start-up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

const char* kModel = "3D/starttext-export.3ds";

std::vector<std::string> oneFrameAt(const char* ms)
{
    return {"--go", "--windowed", "--mode", "320x200", "--capture", "f", "--from", ms, "--to", ms};
}

} // namespace

TEST(TitleModel, AMissingOrTruncatedModelEndsStartUpNamingItWithExitOne)
{
    for (bool truncated : {false, true}) {
        std::string dir = makeWorkDir(truncated ? "cutmodel" : "nomodel", {kModel});
        if (truncated) {
            std::string bytes = readFile(std::string(VELMORA_DATA_DIR) + "/" + kModel);
            writeFile(dir + "/data/" + kModel, bytes.substr(0, bytes.size() / 3));
        }
        RunResult r = runVelmora(dir, oneFrameAt("2750"));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("starttext-export.3ds"), std::string::npos) << r.err;
        std::string last = lastLine(readFile(dir + "/debug_log.txt"));
        EXPECT_NE(last.find("3DS LOADER :: 'data/3D/starttext-export.3ds' cannot be loaded"), std::string::npos)
            << last;
        EXPECT_FALSE(fileExists(dir + "/f/frame_00000.png"));
    }
}

TEST(OpeningText, TheLitQuotationShowsInTheMiddleOfItsShot)
{
    std::string dir = makeWorkDir("quote");
    ASSERT_EQ(runVelmora(dir, oneFrameAt("8750")).exitCode, 0);
    Image withText;
    ASSERT_TRUE(readPng(dir + "/f/frame_00000.png", withText));

    // The same frame without the letters: the model's file holds an empty scene.
    std::string empty = makeWorkDir("quote-empty", {kModel});
    std::string bytes = readFile(std::string(VELMORA_DATA_DIR) + "/" + kModel);
    ASSERT_GT(bytes.size(), 16u);
    // A main chunk whose only child is an empty editor chunk.
    std::string scene = std::string("\x4D\x4D\x0C\x00\x00\x00\x3D\x3D\x06\x00\x00\x00", 12);
    writeFile(empty + "/data/" + kModel, scene);
    RunResult bare = runVelmora(empty, oneFrameAt("8750"));
    ASSERT_EQ(bare.exitCode, 0) << bare.err;
    Image withoutText;
    ASSERT_TRUE(readPng(empty + "/f/frame_00000.png", withoutText));

    // The letters are the only difference, and they lie in the upper middle of the picture.
    int changed = 0, changedOutside = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            int d = std::abs(withText.at(x, y, 1) - withoutText.at(x, y, 1));
            if (d > 12)
                (y >= 40 && y < 120 ? changed : changedOutside)++;
        }
    EXPECT_GT(changed, 300);
    EXPECT_LT(changedOutside, changed / 10);
}

namespace {
// Pixels brighter than a night backdrop ever gets: letters.
int brightPixels(const Image& image, int x0, int y0, int x1, int y1)
{
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            count += image.at(x, y, 0) > 150 && image.at(x, y, 1) > 150 && image.at(x, y, 2) > 150;
    return count;
}
} // namespace

TEST(Credits, TheCloudsCreditsShowEarlyInTheWindowAndAreGoneNearItsEnd)
{
    std::string dir = makeWorkDir("clouds-credits");
    ASSERT_EQ(runVelmora(dir, oneFrameAt("80000")).exitCode, 0);
    Image early;
    ASSERT_TRUE(readPng(dir + "/f/frame_00000.png", early));
    ASSERT_EQ(runVelmora(dir, oneFrameAt("94500")).exitCode, 0); // 0.957 of the window
    Image late;
    ASSERT_TRUE(readPng(dir + "/f/frame_00000.png", late));
    EXPECT_GT(brightPixels(early, 0, 0, 320, 100), 100);
    EXPECT_EQ(brightPixels(late, 0, 0, 320, 200), 0);
}

TEST(Credits, TheReleaseLineRunsAcrossTheMiddleInItsBand)
{
    std::string dir = makeWorkDir("credits");
    ASSERT_EQ(runVelmora(dir, {"--go", "--windowed", "--mode", "320x200", "--capture", "f", "--from", "192000",
                               "--to", "194000", "--fps", "1"}).exitCode, 0);
    Image before, during;
    ASSERT_TRUE(readPng(dir + "/f/frame_00000.png", before));
    ASSERT_TRUE(readPng(dir + "/f/frame_00002.png", during));
    // The release line's band runs across the middle of the screen at 194 s.
    EXPECT_GT(during.meanLevel(20, 95, 300, 105), before.meanLevel(20, 95, 300, 105) + 5.0);
}
