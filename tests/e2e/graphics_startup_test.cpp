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
    expectInOrder(readFile(dir + "/debug_log.txt"),
                  {"Texture 'mask' (512 x 512) created.", "'data/gfx/overlay.png' loaded.", " -- Demo starts -- ",
                   " -- Demo ends -- ", "Texture 'flare' (32 x 32) destroyed."});
}

TEST(GraphicsStartup, AMissingEmptyTruncatedOrFalseOverlayEndsStartUpWithItsLine)
{
    const std::string overlay = "data/gfx/overlay.png";
    std::string bytes = readFile(std::string(VELMORA_DATA_DIR) + "/gfx/overlay.png");
    ASSERT_GT(bytes.size(), 1000u);
    const struct {
        const char* tag;
        const char* contents; // nullptr: no file; "/": a directory
    } cases[] = {{"missing", nullptr}, {"empty", ""}, {"truncated", "cut"}, {"directory", "/"},
                 {"text", "this is not a picture, only some words pretending to be one\n"}};
    for (const auto& c : cases) {
        std::string dir = makeWorkDir(std::string("gfx-") + c.tag, {"gfx/overlay.png"});
        std::string path = dir + "/" + overlay;
        if (c.contents && std::string(c.contents) == "/")
            std::filesystem::create_directories(path);
        else if (c.contents)
            writeFile(path, std::string(c.contents) == "cut" ? bytes.substr(0, bytes.size() / 3) : c.contents);
        RunResult run = runVelmora(dir, kShortRun, 60);
        EXPECT_FALSE(run.timedOut) << c.tag;
        expectStartupFailure(run, dir, overlay, " -> IMAGE MANAGER :: failed to load 'data/gfx/overlay.png'");
        EXPECT_EQ(lastLine(readFile(dir + "/debug_log.txt")), " -> IMAGE MANAGER :: failed to load '" + overlay + "'")
            << c.tag;
        EXPECT_EQ(readFile(dir + "/debug_log.txt").find("Demo starts"), std::string::npos) << c.tag;
    }
}
