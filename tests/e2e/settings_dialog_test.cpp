// The settings dialog driven from outside with xdotool, as a viewer would:
// keys, the close request, the window the show then opens.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

using namespace testsupport;

namespace {

WindowGeometry screen()
{
    WindowGeometry s;
    std::istringstream(shell("xdotool getdisplaygeometry")) >> s.width >> s.height;
    return s;
}

// Clicks into the mode field and types text there. The field has no tab stop,
// so the pointer goes to it: it stands at a fixed height above the dialog's
// bottom edge (two group boxes and the buttons below it), whatever the banner.
void typeIntoModeField(const std::string& dialog, const std::string& text)
{
    WindowGeometry g = windowGeometry(dialog);
    shell("xdotool mousemove --window " + dialog + " 60 " + std::to_string(g.height - 140) +
          " click 1 key --delay 50 ctrl+a type --delay 50 " + text);
}

// Listens on the root window for what a window manager would be asked: without
// one under the virtual display nobody resizes a full-screen window, so its
// geometry alone does not say whether it went full screen.
struct WindowManagerRequests {
    Display* display = XOpenDisplay(nullptr);
    Atom state = None;
    Atom fullscreen = None;
    WindowManagerRequests()
    {
        if (!display)
            return;
        state = XInternAtom(display, "_NET_WM_STATE", False);
        fullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
        XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
        XSync(display, False);
    }
    ~WindowManagerRequests()
    {
        if (display)
            XCloseDisplay(display);
    }
    // Whether the window asked to become full screen, waiting up to the limit.
    bool fullScreenAsked(const std::string& window, int seconds)
    {
        Window id = std::stoul(window);
        return display && waitUntil(seconds, [&] {
            for (XEvent e; XPending(display);) {
                XNextEvent(display, &e);
                const XClientMessageEvent& m = e.xclient;
                if (e.type == ClientMessage && m.window == id && m.message_type == state && m.data.l[0] == 1 &&
                    (static_cast<Atom>(m.data.l[1]) == fullscreen || static_cast<Atom>(m.data.l[2]) == fullscreen))
                    return true;
            }
            return false;
        });
    }
};

const char* kShowTitlePart = ":: Velmora";

} // namespace

TEST(SettingsDialogRun, WithoutGoTheDialogOpensCentredAndUntitledAndEveryWayOutEndsWithNothingStarted)
{
    const std::pair<const char*, void (*)(int pid, const std::string& dialog)> endings[] = {
        {"escape", [](int, const std::string& dialog) { pressKeys(dialog, "Escape"); }},
        {"close", [](int, const std::string& dialog) { requestClose(dialog); }},
        // The focus starts on Go; Tab moves it to Leave.
        {"leave", [](int, const std::string& dialog) { pressKeys(dialog, "Tab Return"); }},
        {"signal", [](int pid, const std::string&) { kill(pid, SIGTERM); }},
    };
    const WindowGeometry s = screen();
    for (const auto& [tag, end] : endings) {
        SCOPED_TRACE(tag);
        std::string dir = makeWorkDir(std::string("dialog-") + tag);
        Program program{startVelmora(dir, {})};
        std::string dialog = waitForWindow(program.running.pid, "", 30);
        ASSERT_FALSE(dialog.empty());
        EXPECT_EQ(windowName(dialog), "");
        WindowGeometry g = windowGeometry(dialog);
        EXPECT_NEAR(g.x, (s.width - g.width) / 2, 1);
        EXPECT_NEAR(g.y, (s.height - g.height) / 2, 1);
        EXPECT_FALSE(fileExists(dir + "/debug_log.txt")) << "nothing starts before Go";
        end(program.running.pid, dialog);
        RunResult r = program.finish(20);
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_FALSE(fileExists(dir + "/debug_log.txt"));
    }
}

// Works the dialog, waits for the show's window and checks where it stands,
// then ends the show with Escape.
TEST(SettingsDialogRun, GoOpensTheShowAsTheDialogAndTheCommandLineSay)
{
    const WindowGeometry s = screen();
    auto centred = [&](int w, int h) { return std::vector<int>{(s.width - w) / 2, (s.height - h) / 2, w, h}; };
    const struct {
        const char* tag;
        std::vector<std::string> args;
        const char* keys;  // typed into the dialog before Return
        const char* typed; // into the mode field, or nullptr
        bool fullscreen;
        std::vector<int> geometry; // x, y, width, height
    } cases[] = {
        {"go", {}, "", nullptr, true, {0, 0, s.width, s.height}},
        // Tab order: Go, Leave, the aspect list, Fullscreen.
        {"windowed", {"--mode", "640x400"}, "Tab Tab Tab space", nullptr, false, centred(640, 400)},
        {"preselected", {"--mode", "800x600", "--windowed"}, "", nullptr, false, centred(800, 600)},
        {"typed", {"--windowed"}, "", "640x400", false, centred(640, 400)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        std::string dir = makeWorkDir(std::string("dialog-") + c.tag);
        WindowManagerRequests requests;
        ASSERT_NE(requests.display, nullptr);
        Program program{startVelmora(dir, c.args)};
        std::string dialog = waitForWindow(program.running.pid, "", 30);
        ASSERT_FALSE(dialog.empty()) << "no dialog";
        if (c.typed)
            typeIntoModeField(dialog, c.typed);
        pressKeys(dialog, std::string(c.keys) + " Return");
        std::string show = waitForWindow(program.running.pid, kShowTitlePart, 60);
        ASSERT_FALSE(show.empty()) << "the show did not open its window";
        EXPECT_EQ(visibleWindows(program.running.pid).size(), 1u) << "the dialog is gone";
        EXPECT_EQ(requests.fullScreenAsked(show, c.fullscreen ? 10 : 1), c.fullscreen);
        WindowGeometry g = windowGeometry(show);
        EXPECT_EQ((std::vector<int>{g.x, g.y, g.width, g.height}), c.geometry);
        EXPECT_TRUE(waitUntil(60, [&] { return fileExists(dir + "/debug_log.txt"); }));
        pressKeys(show, "Escape");
        RunResult r = program.finish(60);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(readFile(dir + "/debug_log.txt").find(" -- Demo ends -- "), std::string::npos);
    }
}
