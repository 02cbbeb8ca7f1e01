#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

using namespace testsupport;

namespace {

const std::vector<std::string> kShortRun = {"--go", "--windowed", "--mode", "320x200", "--timedemo",
                                            "--from", "0", "--to", "50"};

// The log's lines in order, each without its line end.
std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::vector<std::string> textureLines(const std::string& log, const std::string& kind)
{
    std::vector<std::string> names;
    for (const std::string& line : lines(log)) {
        std::string prefix = " -> " + kind + " :: Texture '";
        if (line.rfind(prefix, 0) == 0)
            names.push_back(line.substr(prefix.size(), line.find('\'', prefix.size()) - prefix.size()));
    }
    return names;
}

std::string lastLine(const std::string& text)
{
    std::vector<std::string> all = lines(text);
    while (!all.empty() && all.back().empty())
        all.pop_back();
    return all.empty() ? "" : all.back();
}

} // namespace

TEST(GraphicsStartup, TheProceduralTexturesAreCreatedAndDestroyedInTheirOrders)
{
    std::string dir = makeWorkDir("gfx-order");
    RunResult run = runVelmora(dir, kShortRun);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string log = readFile(dir + "/debug_log.txt");
    EXPECT_EQ(textureLines(log, "Creation"),
              (std::vector<std::string>{"circle", "flare", "bigflare", "blueflare", "noise", "clouds", "surround",
                                        "mask"}));
    EXPECT_EQ(textureLines(log, "Destruction"),
              (std::vector<std::string>{"flare", "circle", "blueflare", "bigflare", "noise", "clouds", "surround",
                                        "mask"}));
    // Created before the show, destroyed after it; the overlay loads after the textures.
    size_t starts = log.find(" -- Demo starts -- ");
    size_t ends = log.find(" -- Demo ends -- ");
    EXPECT_LT(log.find("Texture 'mask' (512 x 512) created."), log.find("'data/gfx/overlay.png' loaded."));
    EXPECT_LT(log.find("'data/gfx/overlay.png' loaded."), starts);
    EXPECT_LT(ends, log.find("Texture 'flare' (32 x 32) destroyed."));
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

std::string overlayBytes()
{
    return readFile(std::string(VELMORA_DATA_DIR) + "/gfx/overlay.png");
}

} // namespace

TEST(GraphicsStartup, AMissingOverlayEndsStartUpWithItsLine)
{
    expectOverlayFailure("gfx-missing", nullptr);
}

TEST(GraphicsStartup, AnEmptyOverlayEndsStartUpWithItsLine)
{
    expectOverlayFailure("gfx-empty", [](const std::string& path) { writeFile(path, ""); });
}

TEST(GraphicsStartup, ATruncatedOverlayEndsStartUpWithItsLine)
{
    expectOverlayFailure("gfx-truncated", [](const std::string& path) {
        std::string bytes = overlayBytes();
        ASSERT_GT(bytes.size(), 1000u);
        writeFile(path, bytes.substr(0, bytes.size() / 3));
    });
}

TEST(GraphicsStartup, AnOverlayThatIsNoPictureEndsStartUpWithItsLine)
{
    expectOverlayFailure("gfx-text", [](const std::string& path) {
        writeFile(path, "this is not a picture, only some words pretending to be one\n");
    });
}

TEST(GraphicsStartup, AnOverlayThatIsADirectoryEndsStartUpWithItsLine)
{
    expectOverlayFailure("gfx-directory",
                         [](const std::string& path) { std::filesystem::create_directories(path); });
}
