// Helpers for the tests that run the whole program: a scratch working
// directory with the data tree, a run with a time limit, and PNG reading.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// A fresh directory under the system's temp dir, holding data/ as a tree of
// links to the generated data, less the files named in leaveOut (paths under data/).
std::string makeWorkDir(const std::string& tag, const std::vector<std::string>& leaveOut = {});

struct RunResult {
    int exitCode = -1;  // -1 when killed by a signal or the time limit
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Runs velmora in dir with args; env holds extra NAME=VALUE pairs (a bare NAME unsets it).
RunResult runVelmora(const std::string& dir, const std::vector<std::string>& args,
                     int timeoutSeconds = 180, const std::vector<std::string>& env = {});
// The same with another copy of the program.
RunResult runProgram(const std::string& program, const std::string& dir, const std::vector<std::string>& args,
                     int timeoutSeconds = 180, const std::vector<std::string>& env = {});

// The same in two halves, for tests that act on the running show.
struct Process {
    int pid = -1;
    int outFd = -1;
    int errFd = -1;
};
Process startVelmora(const std::string& dir, const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {});
RunResult finishVelmora(Process& process, int timeoutSeconds = 180);

// A program under test, killed if a test gives up on it halfway.
struct Program {
    Process running;
    ~Program();
    RunResult finish(int timeoutSeconds) { return finishVelmora(running, timeoutSeconds); }
};

// A shell command's standard output (its errors are dropped).
std::string shell(const std::string& command);

// Polls until done() holds or the seconds have passed; whether it held.
template <typename Done>
bool waitUntil(int seconds, Done done)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (bool held = done(); !held; held = done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// Windows on the test's display, named by their decimal ids as xdotool writes them.
std::vector<std::string> visibleWindows(int pid);
std::string windowName(const std::string& window);
// The first visible window of the process whose title contains namePart ("" for
// any), waited for up to the limit; "" when none came.
std::string waitForWindow(int pid, const std::string& namePart, int seconds);
struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};
// Where the window stands on the screen, and its size; all zero when it cannot be had.
WindowGeometry windowGeometry(const std::string& window);
// What the window manager sends when the close button is pressed.
bool requestClose(const std::string& window);
// Focuses the window with xdotool, then types the keys (xdotool's names) into it.
void pressKeys(const std::string& window, const std::string& keys);

std::string readFile(const std::string& path);
// The last non-empty line of a text, without its line end and trailing blanks.
std::string lastLine(const std::string& text);
// Fails the test unless each part occurs in text, each after the one before.
void expectInOrder(const std::string& text, const std::vector<std::string>& parts);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // rows top-down
    uint8_t at(int x, int y, int channel) const { return rgb[(static_cast<size_t>(y) * width + x) * 3 + channel]; }
    // Mean of r, g and b over a rectangle, 0..255.
    double meanLevel(int x0, int y0, int x1, int y1) const;
};
// The window's picture as it is on the screen; empty when it cannot be had.
Image grabWindow(const std::string& window);
// The picture at path; fails the test when it cannot be read.
Image readFrame(const std::string& path);

// A windowed capture of [fromMs, toMs] into out. No --go: a batch run never
// opens the settings dialog, so a run that asked would time out.
std::vector<std::string> captureArgs(const std::string& out, int fromMs, int toMs, int fps = 10,
                                     const std::string& mode = "320x200");
// The frame at ms of a one-frame 320 x 200 capture into dir/f; a failed run fails the test.
Image frameAt(const std::string& dir, int ms, int fps = 10);
// dir/frame_NNNNN.png, as a capture names its frames.
std::string framePath(const std::string& dir, int index);
// Puts text in place of the run's data/heaven.scpt (a link into the build's data).
void useScript(const std::string& dir, const std::string& text);
// A start-up that failed on a data file: exit 1, stderr naming the file, the
// log's last line holding logLine, and no frame written to dir/f.
void expectStartupFailure(const RunResult& r, const std::string& dir, const std::string& file,
                          const std::string& logLine);

} // namespace testsupport
