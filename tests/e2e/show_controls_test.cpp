// The viewer's keys and the script watch, driven from outside with xdotool
// while the show plays in real time, read back from the log and from grabs
// of the window on the screen.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/test_support.h"

using namespace testsupport;

namespace {

const char* kShowTitle = "Korvane & Silvate  :: Velmora";

// A show in a small window from startMs; the id of its window, "" when none came.
std::string startShow(Program& show, const std::string& dir, int startMs, bool dev = false)
{
    std::vector<std::string> args = {"--go", "--windowed", "--mode", "320x200", "--start", std::to_string(startMs)};
    if (dev)
        args.push_back("--dev");
    show.running = startVelmora(dir, args);
    std::string window = waitForWindow(show.running.pid, kShowTitle, 60);
    if (window.empty() || !waitUntil(60, [&] { return readFile(dir + "/debug_log.txt").find("Demo starts") != std::string::npos; }))
        return "";
    return window;
}

// How many times the log holds text, waited for until it holds it at least count times.
bool waitForLog(const std::string& dir, const std::string& text, int count = 1, int seconds = 30)
{
    return waitUntil(seconds, [&] {
        std::string log = readFile(dir + "/debug_log.txt");
        int found = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            ++found;
        return found >= count;
    });
}

// The numbers of the last log line that starts with prefix, read by format.
template <typename... Numbers>
bool lastLogNumbers(const std::string& dir, const std::string& prefix, const char* format, Numbers*... numbers)
{
    std::string log = readFile(dir + "/debug_log.txt");
    size_t at = log.rfind(prefix);
    return at != std::string::npos &&
           std::sscanf(log.c_str() + at + prefix.size(), format, numbers...) == static_cast<int>(sizeof...(numbers));
}

Image grab(const std::string& window)
{
    Image image = grabWindow(window);
    EXPECT_EQ(image.width * image.height, 320 * 200);
    return image;
}

double level(const Image& image)
{
    return image.meanLevel(0, 0, image.width, image.height);
}

} // namespace

TEST(ShowControls, SpaceHoldsThePictureAndTheClockAndTheSeekKeysMoveTheClock)
{
    std::string dir = makeWorkDir("controls");
    Program show;
    std::string window = startShow(show, dir, 20000);
    ASSERT_NE(window, "");

    pressKeys(window, "space");
    ASSERT_TRUE(waitForLog(dir, " -> Show :: paused at "));
    int paused = 0;
    ASSERT_TRUE(lastLogNumbers(dir, " -> Show :: paused at ", "%d", &paused));
    Image first = grab(window);
    usleep(1000 * 1000);
    EXPECT_TRUE(first.rgb == grab(window).rgb) << "the paused picture moved";

    // Right while paused: the held clock moves by exactly five seconds and
    // the music goes on from there.
    pressKeys(window, "Right");
    ASSERT_TRUE(waitForLog(dir, " -> Show :: moved from "));
    pressKeys(window, "space");
    ASSERT_TRUE(waitForLog(dir, " -> Show :: resumed at "));
    int from = 0, to = 0, resumed = 0;
    ASSERT_TRUE(lastLogNumbers(dir, " -> Show :: moved from ", "%d ms to %d", &from, &to));
    ASSERT_TRUE(lastLogNumbers(dir, " -> Show :: resumed at ", "%d", &resumed));
    EXPECT_EQ(from, paused);
    EXPECT_EQ(to, paused + 5000);
    EXPECT_GE(resumed, to);
    EXPECT_LT(resumed, to + 100);

    // Playing again, the picture changes within a second (or a few on a slow machine).
    Image playing = grab(window);
    usleep(1000 * 1000);
    EXPECT_TRUE(waitUntil(10, [&] { return grab(window).rgb != playing.rgb; })) << "the picture stood still";

    // From the first window past 24060, Page Down lands on 36000, where the
    // beast's windows start, and the clock runs on from there.
    pressKeys(window, "Next");
    ASSERT_TRUE(waitForLog(dir, " -> Show :: moved from ", 2));
    ASSERT_TRUE(lastLogNumbers(dir, " -> Show :: moved from ", "%d ms to %d", &from, &to));
    EXPECT_GE(from, 25000);
    EXPECT_EQ(to, 36000);
    pressKeys(window, "space");
    ASSERT_TRUE(waitForLog(dir, " -> Show :: paused at ", 2));
    ASSERT_TRUE(lastLogNumbers(dir, " -> Show :: paused at ", "%d", &paused));
    EXPECT_GE(paused, 36000);
    EXPECT_LT(paused, 40000);

    pressKeys(window, "Escape");
    RunResult r = show.finish(30);
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST(ShowControls, UnderDevAnEditedScriptMovesAWindowAndOneThatCannotBeReadKeepsTheTimeline)
{
    std::string dir = makeWorkDir("dev");
    std::string script = dir + "/data/heaven.scpt";
    useScript(dir, readFile(script)); // a file of the run's own in place of the link
    Program show;
    std::string window = startShow(show, dir, 2000, true);
    ASSERT_NE(window, "");
    EXPECT_TRUE(waitUntil(20, [&] { return level(grab(window)) > 10.0; })) << "the quotation is not on screen";

    // Written as an editor does: a new file renamed over the old one. The
    // windows until 24060 move away and leave the screen black.
    writeFile(script + ".new", readFile(script) +
                                   "\ncitation.start 100000\ncitation2.start 100000\nsous_la_brume.start 100000\n");
    std::filesystem::rename(script + ".new", script);
    ASSERT_TRUE(waitForLog(dir, " -> Script :: 'data/heaven.scpt' reloaded. \n"));
    EXPECT_TRUE(waitUntil(5, [&] { return level(grab(window)) < 3.0; })) << "the quotation is still there";

    // Removed, then a directory in its place: each says why and the moved
    // windows stay away (the built-in times would bring the mist back).
    std::filesystem::remove(script);
    ASSERT_TRUE(waitForLog(dir, " -> Script :: 'data/heaven.scpt' not reloaded (no such file). "));
    std::filesystem::create_directory(script);
    ASSERT_TRUE(waitForLog(dir, " -> Script :: 'data/heaven.scpt' not reloaded (a directory). "));
    // R reads it again by hand, and fails the same way.
    pressKeys(window, "r");
    ASSERT_TRUE(waitForLog(dir, " -> Script :: 'data/heaven.scpt' not reloaded (a directory). ", 2));
    usleep(500 * 1000);
    EXPECT_LT(level(grab(window)), 3.0);

    pressKeys(window, "Escape");
    RunResult r = show.finish(30);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    int lines = 0;
    for (size_t at = r.err.find("not reloaded"); at != std::string::npos; at = r.err.find("not reloaded", at + 1))
        ++lines;
    EXPECT_EQ(lines, 3) << r.err;
}
