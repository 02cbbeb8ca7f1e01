// The scenes end to end: what start-up loads for them and in which order,
// and what their frames show.
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

TEST(Scenes, StartUpLoadsTheLogoSceneAfterTheOverlayAndBeforeTheSkiesAndMakesTheBeastsPaths)
{
    std::string dir = makeWorkDir("mist-log");
    RunResult r = runVelmora(dir, {"--go", "--windowed", "--mode", "320x200", "--capture", "f", "--from", "0", "--to", "0"});
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

TEST(Beast, TheBeatKicksTheSwarm)
{
    // As in the mist: the same point of the window on a beat (60370 ms) and
    // well after it, where the beat is no longer caught.
    Image onBeat = frameAt("beast-beat", 60370, "la_bête_se_déchaîne.start 54000\nla_bête_se_déchaîne.end 72000\n");
    Image between = frameAt("beast-between", 60670, "la_bête_se_déchaîne.start 54300\nla_bête_se_déchaîne.end 72300\n");
    Image control = frameAt("beast-control", 60675, "la_bête_se_déchaîne.start 54305\nla_bête_se_déchaîne.end 72305\n");
    EXPECT_NE(onBeat.rgb, between.rgb);
    EXPECT_EQ(between.rgb, control.rgb);
}

TEST(Roots, TheyLightUpAsTheyGrow)
{
    Image early = frameAt("roots-10", 122394);
    Image grown = frameAt("roots-60", 134364);
    EXPECT_GT(grown.meanLevel(0, 0, grown.width, grown.height), early.meanLevel(0, 0, early.width, early.height) + 2.0);
}
