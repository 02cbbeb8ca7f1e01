// The program away from its build tree: installed under a prefix and run from
// any directory with no display, finding its data and its log on its own, and
// refusing a bad --data or --log clearly.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
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

// The frame at ms of a one-frame capture into dir/f<ms>, by program, with no display.
std::string frameBytes(const std::string& program, const std::string& dir, int ms)
{
    std::string out = "f" + std::to_string(ms);
    RunResult r = runProgram(program, dir, captureArgs(out, ms, ms, 10, "320x200"), 120, kNoDisplay);
    EXPECT_EQ(r.exitCode, 0) << program << " at " << ms << ": " << r.err;
    return readFile(framePath(dir + "/" + out, 0));
}

size_t filesUnder(const std::string& dir)
{
    size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        count += entry.is_regular_file();
    return count;
}

} // namespace

TEST(Install, TheInstalledProgramDrawsTheBuildTreesFramesFromAnywhereWithNoDisplayAndItsDesktopFilesAreInPlace)
{
    std::string root = scratch("destdir");
    std::string install = "DESTDIR='" + root + "' '" VELMORA_CMAKE "' --install '" VELMORA_BUILD_DIR
                          "' --prefix /usr >/dev/null 2>&1 && echo installed";
    ASSERT_EQ(shell(install), "installed\n");
    const std::string usr = root + "/usr";
    EXPECT_EQ(filesUnder(usr + "/share/velmora/data"), filesUnder(VELMORA_DATA_DIR));

    std::string desktop = readFile(usr + "/share/applications/velmora.desktop");
    for (const char* line : {"[Desktop Entry]\n", "\nType=Application\n", "\nExec=velmora\n", "\nIcon=velmora\n"})
        EXPECT_NE(desktop.find(line), std::string::npos) << line;
    for (int size : {32, 48, 64, 128, 256}) {
        std::string edge = std::to_string(size);
        Image icon = readFrame(usr + "/share/icons/hicolor/" + edge + "x" + edge + "/apps/velmora.png");
        EXPECT_EQ(icon.width * 1000 + icon.height, size * 1001) << edge;
    }
    // The manual page names every option the program's help does.
    std::string manual = shell("zcat '" + usr + "/share/man/man6/velmora.6.gz'");
    ASSERT_NE(manual.find(".TH VELMORA 6"), std::string::npos);
    std::string help = runVelmora(root, {"--help"}).out;
    std::regex option("--([a-z-]+)");
    for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it)
        EXPECT_NE(manual.find("\\-\\-" + std::regex_replace((*it)[1].str(), std::regex("-"), "\\-")), std::string::npos)
            << (*it)[0];
    EXPECT_NE(manual.find(".SH EXIT STATUS"), std::string::npos);
    EXPECT_NE(manual.find(".SH KEYS"), std::string::npos);

    // Run from a directory with no data/, then by the build tree's program
    // from one with data/, and from one without (its data/ beside it).
    std::string away = scratch("installed-run");
    std::string here = makeWorkDir("installed-reference");
    std::string beside = scratch("build-beside");
    for (int ms : {30000, 132000}) {
        std::string installed = frameBytes(usr + "/bin/velmora", away, ms);
        ASSERT_GT(installed.size(), 1000u) << ms;
        EXPECT_TRUE(installed == frameBytes(VELMORA_EXE, here, ms)) << ms;
    }
    EXPECT_TRUE(frameBytes(VELMORA_EXE, beside, 30000) == readFile(framePath(away + "/f30000", 0)));
    // The log stays in the working directory and names the files as the show always has.
    EXPECT_NE(readFile(away + "/debug_log.txt").find("'data/gfx/overlay.png' loaded."), std::string::npos);
    fs::remove_all(root);
}

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

TEST(DataOption, TheTimelineScriptIsReadFromTheNamedTree)
{
    // A tree elsewhere whose script ends the show at 2 s, run where there is no data/.
    std::string tree = makeWorkDir("data-script");
    useScript(tree, "demoend.start 2000\n");
    std::string dir = scratch("data-script-run");
    std::vector<std::string> args = captureArgs("f", 0, 5000, 1);
    args.insert(args.end(), {"--data", tree + "/data"});
    RunResult r = runVelmora(dir, args, 120, kNoDisplay);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fileExists(framePath(dir + "/f", 2)));
    EXPECT_FALSE(fileExists(framePath(dir + "/f", 3))) << "the show ends at the named tree's demoend";
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
