// The scenes end to end: what their frames show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

using namespace testsupport;

namespace {

// One 320 x 200 frame at music time t in a fresh work dir, with a script in
// place of the generated one when given; t lies on the steps of fps from 0.
Image freshFrame(const std::string& tag, int t, const std::string& script = "", int fps = 10)
{
    std::string dir = makeWorkDir(tag);
    if (!script.empty())
        useScript(dir, script);
    return frameAt(dir, t, fps);
}

// The last frame of a 320 x 200 capture of [from, to] at fps frames a second.
Image lastFrame(const std::string& tag, int from, int to, int fps)
{
    std::string dir = makeWorkDir(tag);
    RunResult r = runVelmora(dir, captureArgs("f", from, to, fps));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return readFrame(framePath(dir + "/f", (to - from) * fps / 1000));
}

// Pixels that differ between two frames of one size.
int differingPixels(const Image& a, const Image& b)
{
    EXPECT_EQ(a.rgb.size(), b.rgb.size());
    int count = 0;
    for (size_t i = 0; i + 2 < a.rgb.size() && i + 2 < b.rgb.size(); i += 3)
        count += a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2];
    return count;
}

// Pixels of the lower half that glow warm, as the terrain's lines do.
int warmPixelsBelow(const Image& image)
{
    int count = 0;
    for (int y = image.height / 2; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            count += image.at(x, y, 0) > 110 && image.at(x, y, 0) > image.at(x, y, 2) + 20;
    return count;
}

} // namespace

TEST(Mist, TheTerrainsLinesGlowUnderTheMistAndTheSceneMoves)
{
    Image a = freshFrame("mist-a", 20400);
    Image b = freshFrame("mist-b", 20900);
    EXPECT_GT(warmPixelsBelow(a), a.width * a.height / 50) << "the lower half shows the glowing lines";
    EXPECT_NE(a.rgb, b.rgb) << "half a second later the camera has moved";
}

TEST(Scenes, TheBeatTiltsTheMistCameraAndKicksTheBeastsSwarm)
{
    // The same point of a window on a beat and after the beat's pulse (the
    // window moved with it): off the beat only the ramp decides the picture.
    // Every frame of the show runs up to it, on steps of 5 ms, so that the
    // moved windows step through the same ramps. The smoke under the mist
    // moves by the frame clock's steps, which round alike only where the
    // windows lie a multiple of 125 ms apart.
    const struct {
        const char* window;
        int start, end, beat, after, control;
    } cases[] = {{"sous_la_brume", 12000, 24060, 13120, 13495, 13620},
                 {"la_bête_se_déchaîne", 54000, 72000, 60370, 60875, 60880}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        auto frame = [&](std::string tag, int t, int shift) {
            return freshFrame(tag + std::to_string(c.beat), t,
                              std::string(c.window) + ".start " + std::to_string(c.start + shift) + "\n" + c.window +
                                  ".end " + std::to_string(c.end + shift) + "\n",
                              200);
        };
        Image onBeat = frame("beat", c.beat, 0);
        Image between = frame("between", c.after, c.after - c.beat);
        Image control = frame("control", c.control, c.control - c.beat);
        EXPECT_NE(onBeat.rgb, between.rgb);
        EXPECT_EQ(between.rgb, control.rgb);
    }
}

TEST(Roots, TheyLightUpAsTheyGrow)
{
    Image early = freshFrame("roots-10", 122394);
    Image grown = freshFrame("roots-60", 134364);
    EXPECT_GT(grown.meanLevel(0, 0, grown.width, grown.height), early.meanLevel(0, 0, early.width, early.height) + 2.0);
}

TEST(Clouds, TheMoonHangsInTheDarkNightSkyAndTheNightMoves)
{
    Image a = freshFrame("clouds-10", 74350);
    Image b = freshFrame("clouds-12", 74850);
    // 320 x 200: the moon's disc at the upper left, dark sky above the middle.
    EXPECT_GT(a.meanLevel(65, 67, 95, 97), a.meanLevel(130, 20, 190, 50) + 50.0);
    EXPECT_NE(a.rgb, b.rgb) << "half a second later the creatures and the haze have moved";
}

TEST(Iterations, TheMushroomsFillTheMiddleOfTheWindowAndTheSparksClimb)
{
    Image a = freshFrame("iterations-50", 107750);
    Image b = freshFrame("iterations-52", 108250);
    EXPECT_GT(a.meanLevel(a.width / 4, a.height / 4, 3 * a.width / 4, 3 * a.height / 4), 40.0)
        << "the window's middle is no longer black";
    EXPECT_NE(a.rgb, b.rgb);
}

TEST(Tree, ItsCrownFillsAsItGrows)
{
    // At a fifth of either window the tree is a trunk with a few short
    // branches; at half it carries a crown of lit dots in the upper middle.
    const struct {
        const char* window;
        int fifth, half;
    } cases[] = {{"noname", 146346, 149955}, {"noname2", 158376, 161985}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        Image early = freshFrame(std::string("tree-20-") + c.window, c.fifth);
        Image grown = freshFrame(std::string("tree-50-") + c.window, c.half);
        double before = early.meanLevel(100, 15, 230, 115);
        double after = grown.meanLevel(100, 15, 230, 115);
        EXPECT_GT(after, 1.4 * before) << before << " -> " << after;
    }
}

TEST(Greetings, TheDustIsGoneFromFourFifthsOn)
{
    // At 80 % the camera already looks away from the dust's lane, and does
    // until the window's last moments, when its near end comes back in at the
    // right edge. Two histories that differ in the dust's steps before 80 % (a
    // quarter and an eighth of a second), with the ground's scroll and the
    // names the same, end at 191750 ms (99 %): dust still drawn or moving
    // would differ there.
    Image quarterSteps = lastFrame("dust-4fps", 183750, 191750, 4);
    Image eighthSteps = lastFrame("dust-8fps", 183750, 191750, 8);
    EXPECT_EQ(differingPixels(quarterSteps, eighthSteps), 0);
}
