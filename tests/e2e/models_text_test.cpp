// The opening quotation and the credits in the running show, and what a
// broken title model does to start-up.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_support.h"

using namespace testsupport;

namespace {

const std::string kModel = "3D/starttext-export.3ds";

// Pixels brighter than a night backdrop ever gets: letters.
int brightPixels(const Image& image, int y1)
{
    int count = 0;
    for (int y = 0; y < y1; ++y)
        for (int x = 0; x < image.width; ++x)
            count += image.at(x, y, 0) > 150 && image.at(x, y, 1) > 150 && image.at(x, y, 2) > 150;
    return count;
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
        expectStartupFailure(runVelmora(dir, captureArgs("f", 2750, 2750)), dir, kModel,
                             "3DS LOADER :: 'data/3D/starttext-export.3ds' cannot be loaded");
    }
}

TEST(OpeningText, TheLitQuotationShowsInTheMiddleOfItsShot)
{
    Image withText = frameAt(makeWorkDir("quote"), 8750);
    // The same frame without the letters: a main chunk whose only child is an empty editor chunk.
    std::string empty = makeWorkDir("quote-empty", {kModel});
    writeFile(empty + "/data/" + kModel, std::string("\x4D\x4D\x0C\x00\x00\x00\x3D\x3D\x06\x00\x00\x00", 12));
    Image withoutText = frameAt(empty, 8750);

    // The letters are the only difference, and they lie in the upper middle of the picture.
    int changed = 0, changedOutside = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            if (std::abs(withText.at(x, y, 1) - withoutText.at(x, y, 1)) > 12)
                (y >= 40 && y < 120 ? changed : changedOutside)++;
    EXPECT_GT(changed, 300);
    EXPECT_LT(changedOutside, changed / 10);
}

TEST(Credits, TheCloudsCreditsShowEarlyInTheWindowAndAreGoneNearItsEnd)
{
    std::string dir = makeWorkDir("clouds-credits");
    EXPECT_GT(brightPixels(frameAt(dir, 80000), 100), 100);
    EXPECT_EQ(brightPixels(frameAt(dir, 94500), 200), 0); // 0.957 of the window
}

TEST(Credits, TheReleaseLineRunsAcrossTheMiddleInItsBand)
{
    std::string dir = makeWorkDir("credits");
    ASSERT_EQ(runVelmora(dir, captureArgs("f", 192000, 194000, 1)).exitCode, 0);
    // The release line's band runs across the middle of the screen at 194 s.
    EXPECT_GT(readFrame(dir + "/f/frame_00002.png").meanLevel(20, 95, 300, 105),
              readFrame(dir + "/f/frame_00000.png").meanLevel(20, 95, 300, 105) + 5.0);
}
