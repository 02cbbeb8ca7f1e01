// The scenes end to end: what start-up loads for them and in which order,
// and what their frames show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

using namespace testsupport;

namespace {

// One 320 x 200 frame at music time t, with a script in place of the generated one when given.
Image frameAt(const std::string& tag, int t, const std::string& script = "")
{
    std::string dir = makeWorkDir(tag);
    if (!script.empty())
        useScript(dir, script);
    RunResult r = runVelmora(dir, captureArgs("f", t, t));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return readFrame(framePath(dir + "/f", 0));
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

TEST(Scenes, StartUpLoadsTheLogoSceneAfterTheOverlayAndBeforeTheSkiesAndMakesTheBeastsPaths)
{
    std::string dir = makeWorkDir("mist-log");
    RunResult r = runVelmora(dir, captureArgs("f", 0, 0));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string log = readFile(dir + "/debug_log.txt");
    // The beast's paths are made after the terrain and released in the order made.
    expectInOrder(log, {"Camera path 'tracking the beast' created.", "Camera path 'following the beast' created.",
                        " -- Demo starts -- ", " -- Demo ends -- ", "Camera path 'tracking the beast' destroyed.",
                        "Camera path 'following the beast' destroyed."});
    size_t at = log.find("'data/gfx/overlay.png' loaded.");
    for (const char* image : {"gfx/smoke1.png", "gfx/smoke4.png", "3D/logo2.png", "3D/logo2ao.png", "3D/logo2map.png",
                              "gfx/CGSkies_0225_thumblarge.jpg"}) {
        size_t next = log.find(std::string("'data/") + image + "' loaded.");
        ASSERT_NE(next, std::string::npos) << image;
        EXPECT_GT(next, at) << image;
        at = next;
    }
}

TEST(Mist, TheTerrainsLinesGlowUnderTheMistAndTheSceneMoves)
{
    Image a = frameAt("mist-a", 20400);
    Image b = frameAt("mist-b", 20900);
    EXPECT_GT(warmPixelsBelow(a), a.width * a.height / 50) << "the lower half shows the glowing lines";
    EXPECT_NE(a.rgb, b.rgb) << "half a second later the camera has moved";
}

TEST(Scenes, TheBeatTiltsTheMistCameraAndKicksTheBeastsSwarm)
{
    // The same point of a window on a beat and well after it (the window
    // moved with it): off the beat only the ramp decides the picture.
    const struct {
        const char* window;
        int start, end, beat, after, control;
    } cases[] = {{"sous_la_brume", 12000, 24060, 13120, 13495, 13500},
                 {"la_bête_se_déchaîne", 54000, 72000, 60370, 60670, 60675}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        auto frame = [&](std::string tag, int t, int shift) {
            return frameAt(tag + std::to_string(c.beat), t,
                           std::string(c.window) + ".start " + std::to_string(c.start + shift) + "\n" + c.window +
                               ".end " + std::to_string(c.end + shift) + "\n");
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
    Image early = frameAt("roots-10", 122394);
    Image grown = frameAt("roots-60", 134364);
    EXPECT_GT(grown.meanLevel(0, 0, grown.width, grown.height), early.meanLevel(0, 0, early.width, early.height) + 2.0);
}

TEST(Clouds, TheMoonHangsInTheDarkNightSkyAndTheNightMoves)
{
    Image a = frameAt("clouds-10", 74350);
    Image b = frameAt("clouds-12", 74850);
    // 320 x 200: the moon's disc at the upper left, dark sky above the middle.
    EXPECT_GT(a.meanLevel(65, 67, 95, 97), a.meanLevel(130, 20, 190, 50) + 50.0);
    EXPECT_NE(a.rgb, b.rgb) << "half a second later the creatures and the haze have moved";
}

TEST(Iterations, TheMushroomsFillTheMiddleOfTheWindowAndTheSparksClimb)
{
    Image a = frameAt("iterations-50", 107750);
    Image b = frameAt("iterations-52", 108250);
    EXPECT_GT(a.meanLevel(a.width / 4, a.height / 4, 3 * a.width / 4, 3 * a.height / 4), 40.0)
        << "the window's middle is no longer black";
    EXPECT_NE(a.rgb, b.rgb);
}
