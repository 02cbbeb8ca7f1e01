// The mist windows end to end: what start-up loads for them and in which
// order, and what their frames show.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

using namespace testsupport;

namespace {

// One 320 x 200 frame at music time t, with a script in place of the generated one when given.
Image frameAt(const std::string& tag, int t, const std::string& script = "")
{
    std::string dir = makeWorkDir(tag);
    if (!script.empty()) {
        std::filesystem::remove(dir + "/data/heaven.scpt");
        writeFile(dir + "/data/heaven.scpt", script);
    }
    std::string at = std::to_string(t);
    RunResult r = runVelmora(dir, {"--go", "--windowed", "--mode", "320x200", "--capture", "f", "--from", at, "--to", at});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    Image image;
    EXPECT_TRUE(readPng(dir + "/f/frame_00000.png", image)) << tag;
    return image;
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

TEST(Mist, StartUpLoadsTheLogoSceneAfterTheOverlayAndBeforeTheSkies)
{
    std::string dir = makeWorkDir("mist-log");
    RunResult r = runVelmora(dir, {"--go", "--windowed", "--mode", "320x200", "--capture", "f", "--from", "0", "--to", "0"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string log = readFile(dir + "/debug_log.txt");
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

TEST(Mist, TheBeatTiltsTheCamera)
{
    // The same point of the window on a beat (13120 ms) and between beats:
    // moving the window moves the ramp but not the music's beats.
    Image onBeat = frameAt("mist-beat", 13120, "sous_la_brume.start 12000\nsous_la_brume.end 24060\n");
    Image between = frameAt("mist-between", 13495, "sous_la_brume.start 12375\nsous_la_brume.end 24435\n");
    Image control = frameAt("mist-control", 13500, "sous_la_brume.start 12380\nsous_la_brume.end 24440\n");
    EXPECT_NE(onBeat.rgb, between.rgb);
    EXPECT_EQ(between.rgb, control.rgb) << "off the beat, only the ramp decides the picture";
}
