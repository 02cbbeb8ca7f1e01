#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

using namespace testsupport;

namespace {

const std::vector<std::string> kShortRun = {"--go", "--windowed", "--mode", "320x200", "--timedemo",
                                            "--from", "0", "--to", "50"};

} // namespace

TEST(GraphicsStartup, TheProceduralTexturesAreMadeBeforeTheOverlayAndTheShowAndDestroyedAfterIt)
{
    std::string dir = makeWorkDir("gfx-order");
    RunResult run = runVelmora(dir, kShortRun);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string log = readFile(dir + "/debug_log.txt");
    size_t created = log.find("Texture 'mask' (512 x 512) created."), overlay = log.find("'data/gfx/overlay.png' loaded.");
    ASSERT_NE(created, std::string::npos);
    ASSERT_NE(overlay, std::string::npos);
    EXPECT_LT(created, overlay);
    EXPECT_LT(overlay, log.find(" -- Demo starts -- "));
    EXPECT_LT(log.find(" -- Demo ends -- "), log.find("Texture 'flare' (32 x 32) destroyed."));
}

namespace {

// Runs the show with a broken overlay picture and checks the failure.
void expectOverlayFailure(const std::string& tag, void (*breakIt)(const std::string& path))
{
    std::string dir = makeWorkDir(tag, {"gfx/overlay.png"});
    std::string path = dir + "/data/gfx/overlay.png";
    if (breakIt)
        breakIt(path);
    RunResult run = runVelmora(dir, kShortRun, 60);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("data/gfx/overlay.png"), std::string::npos) << run.err;
    std::string log = readFile(dir + "/debug_log.txt");
    EXPECT_EQ(lastLine(log), " -> IMAGE MANAGER :: failed to load 'data/gfx/overlay.png'");
    EXPECT_EQ(log.find("Demo starts"), std::string::npos);
}

} // namespace

TEST(GraphicsStartup, AMissingEmptyTruncatedOrFalseOverlayEndsStartUpWithItsLine)
{
    expectOverlayFailure("gfx-missing", nullptr);
    expectOverlayFailure("gfx-empty", [](const std::string& path) { writeFile(path, ""); });
    expectOverlayFailure("gfx-truncated", [](const std::string& path) {
        std::string bytes = readFile(std::string(VELMORA_DATA_DIR) + "/gfx/overlay.png");
        ASSERT_GT(bytes.size(), 1000u);
        writeFile(path, bytes.substr(0, bytes.size() / 3));
    });
    expectOverlayFailure("gfx-text", [](const std::string& path) {
        writeFile(path, "this is not a picture, only some words pretending to be one\n");
    });
    expectOverlayFailure("gfx-directory",
                         [](const std::string& path) { std::filesystem::create_directories(path); });
}
