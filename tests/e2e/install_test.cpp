// The program away from its build tree: run from any directory with no
// display, finding its data and its log on its own, and refusing a bad --data
// or --log clearly.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "support/test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kNoDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};

// A fresh directory under the system's temp dir.
std::string scratch(const std::string& tag)
{
    fs::path dir = fs::temp_directory_path() / ("velmora-" + tag + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

} // namespace

TEST(DataOption, AFileOrAMissingDirectoryIsAUsageErrorAndAnEmptyOneNamesTheFirstMissingFile)
{
    std::string dir = scratch("data-option");
    writeFile(dir + "/plain", "x");
    fs::create_directory(dir + "/empty");
    const struct {
        const char* data;
        int exitCode;
        const char* text;
    } cases[] = {
        {"plain", 2, "--data: 'plain' is not a directory\nusage: velmora"},
        {"missing", 2, "--data: no such directory 'missing'\nusage: velmora"},
        {"empty", 1, "cannot load the image 'empty/gfx/overlay.png'"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = captureArgs("f", 0, 0);
        args.insert(args.end(), {"--data", c.data});
        RunResult r = runVelmora(dir, args, 60, kNoDisplay);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.data << ": " << r.err;
        EXPECT_NE(r.err.find(c.text), std::string::npos) << c.data << ": " << r.err;
        EXPECT_FALSE(fileExists(dir + "/f/frame_00000.png")) << c.data;
    }
}

TEST(DataOption, ATreeNamedAnywhereIsReadAndWithNoTreeAnywhereOneLineNamesThePlacesLookedIn)
{
    // The program alone under a prefix of its own, run where there is no data/.
    std::string prefix = scratch("bare-prefix");
    fs::create_directories(prefix + "/bin");
    std::error_code linked;
    fs::create_hard_link(VELMORA_EXE, prefix + "/bin/velmora", linked);
    if (linked)
        fs::copy_file(VELMORA_EXE, prefix + "/bin/velmora");
    std::string dir = scratch("bare-run");
    RunResult r = runProgram(prefix + "/bin/velmora", dir, captureArgs("f", 0, 0), 60, kNoDisplay);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "velmora: no data found; looked in ./data, " + prefix + "/share/velmora/data and " + prefix +
                         "/bin/data\n");
    EXPECT_FALSE(fileExists(dir + "/debug_log.txt"));

    std::vector<std::string> args = captureArgs("f", 30000, 30000);
    args.insert(args.end(), {"--data", std::string(VELMORA_DATA_DIR) + "/"});
    r = runProgram(prefix + "/bin/velmora", dir, args, 120, kNoDisplay);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fileExists(framePath(dir + "/f", 0)));
}

TEST(LogOption, ANamedLogIsWrittenAndOneThatCannotBeLeavesTheShowRunningAndSaysSoOnce)
{
    std::string dir = makeWorkDir("log-option");
    fs::create_directory(dir + "/folder");
    std::vector<std::string> args = captureArgs("f", 0, 0);
    args.insert(args.end(), {"--log", "named.txt"});
    RunResult r = runVelmora(dir, args, 60, kNoDisplay);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFile(dir + "/named.txt").rfind("\n -- Intro and effects initialisations --  \n \n", 0), 0u);
    EXPECT_FALSE(fileExists(dir + "/debug_log.txt"));

    for (std::string place : {"folder", "no/such/dir/log.txt"}) {
        std::string frames = "frames-" + std::to_string(place.size());
        args = captureArgs(frames, 0, 0);
        args.insert(args.end(), {"--log", place});
        r = runVelmora(dir, args, 60, kNoDisplay);
        EXPECT_EQ(r.exitCode, 0) << place << ": " << r.err;
        EXPECT_TRUE(fileExists(framePath(dir + "/" + frames, 0))) << place;
        std::string said = "velmora: cannot write the log '" + place + "'";
        size_t at = r.err.find(said);
        EXPECT_NE(at, std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(said, at + 1), std::string::npos) << "said once: " << r.err;
        EXPECT_NE(r.err.find("the show runs without one"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fileExists(dir + "/debug_log.txt"));
}
