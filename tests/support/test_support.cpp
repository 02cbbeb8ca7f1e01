#include "support/test_support.h"

#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace testsupport {

std::string makeWorkDir(const std::string& tag, const std::vector<std::string>& leaveOut)
{
    fs::path dir = fs::temp_directory_path() / ("velmora-" + tag + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "data");
    fs::path source = VELMORA_DATA_DIR;
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        fs::path relative = fs::relative(entry.path(), source);
        if (std::find(leaveOut.begin(), leaveOut.end(), relative.string()) != leaveOut.end())
            continue;
        if (entry.is_directory())
            fs::create_directories(dir / "data" / relative);
        else
            fs::create_symlink(entry.path(), dir / "data" / relative);
    }
    return dir.string();
}

namespace {

Process startProgram(const std::string& program, const std::string& dir, const std::vector<std::string>& args,
                     const std::vector<std::string>& env)
{
    Process process;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        return process;
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0)
            _exit(126);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        for (const std::string& pair : env)
            putenv(const_cast<char*>(pair.c_str()));
        std::vector<std::string> all = {program};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    process.pid = pid;
    process.outFd = outPipe[0];
    process.errFd = errPipe[0];
    return process;
}

} // namespace

Process startVelmora(const std::string& dir, const std::vector<std::string>& args,
                     const std::vector<std::string>& env)
{
    return startProgram(VELMORA_EXE, dir, args, env);
}

RunResult runVelmora(const std::string& dir, const std::vector<std::string>& args, int timeoutSeconds,
                     const std::vector<std::string>& env)
{
    return runProgram(VELMORA_EXE, dir, args, timeoutSeconds, env);
}

RunResult runProgram(const std::string& program, const std::string& dir, const std::vector<std::string>& args,
                     int timeoutSeconds, const std::vector<std::string>& env)
{
    Process process = startProgram(program, dir, args, env);
    return finishVelmora(process, timeoutSeconds);
}

RunResult finishVelmora(Process& process, int timeoutSeconds)
{
    RunResult result;
    if (process.pid < 0)
        return result;
    pid_t pid = process.pid;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    pollfd fds[2] = {{process.outFd, POLLIN, 0}, {process.errFd, POLLIN, 0}};
    int open = 2;
    char buffer[4096];
    while (open > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, 2, static_cast<int>(left.count())) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            } else {
                (i == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
            }
        }
    }
    for (pollfd& f : fds)
        if (f.fd >= 0)
            close(f.fd);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!result.timedOut && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    process.pid = -1;
    return result;
}

Program::~Program()
{
    if (running.pid > 0) {
        kill(running.pid, SIGKILL);
        finishVelmora(running, 5);
    }
}

std::string shell(const std::string& command)
{
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

namespace {

Display* display()
{
    static Display* d = XOpenDisplay(nullptr);
    return d;
}

} // namespace

std::vector<std::string> visibleWindows(int pid)
{
    std::istringstream ids(shell("xdotool search --onlyvisible --pid " + std::to_string(pid)));
    return {std::istream_iterator<std::string>(ids), std::istream_iterator<std::string>()};
}

std::string windowName(const std::string& window)
{
    std::string name = shell("xdotool getwindowname " + window);
    return name.substr(0, name.find('\n'));
}

std::string waitForWindow(int pid, const std::string& namePart, int seconds)
{
    std::string found;
    waitUntil(seconds, [&] {
        for (const std::string& w : visibleWindows(pid))
            if (namePart.empty() || windowName(w).find(namePart) != std::string::npos)
                return !(found = w).empty();
        return false;
    });
    return found;
}

WindowGeometry windowGeometry(const std::string& window)
{
    WindowGeometry geometry;
    Display* d = display();
    XWindowAttributes attributes;
    if (!d || !XGetWindowAttributes(d, std::stoul(window), &attributes))
        return geometry;
    Window child;
    XTranslateCoordinates(d, std::stoul(window), DefaultRootWindow(d), 0, 0, &geometry.x, &geometry.y, &child);
    geometry.width = attributes.width;
    geometry.height = attributes.height;
    return geometry;
}

bool requestClose(const std::string& windowId)
{
    Display* d = display();
    Window window = std::stoul(windowId);
    if (!d)
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    bool ok = XSendEvent(d, window, False, NoEventMask, &event) != 0;
    XSync(d, False);
    return ok;
}

void pressKeys(const std::string& window, const std::string& keys)
{
    shell("xdotool windowfocus " + window + " key --delay 50 " + keys);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string lastLine(const std::string& text)
{
    size_t end = text.find_last_not_of("\n \r");
    if (end == std::string::npos)
        return "";
    size_t start = text.rfind('\n', end);
    start = start == std::string::npos ? 0 : start + 1;
    return text.substr(start, end + 1 - start);
}

void expectInOrder(const std::string& text, const std::vector<std::string>& parts)
{
    size_t at = 0;
    for (const std::string& part : parts) {
        size_t found = text.find(part, at);
        ASSERT_NE(found, std::string::npos) << "'" << part << "' missing or out of order in:\n" << text;
        at = found + part.size();
    }
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool fileExists(const std::string& path)
{
    return fs::exists(path);
}

double Image::meanLevel(int x0, int y0, int x1, int y1) const
{
    double sum = 0.0;
    long count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++count)
            sum += (at(x, y, 0) + at(x, y, 1) + at(x, y, 2)) / 3.0;
    return count ? sum / count : 0.0;
}

Image readFrame(const std::string& path)
{
    Image image;
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    bool ok = png_image_begin_read_from_file(&png, path.c_str());
    if (ok) {
        png.format = PNG_FORMAT_RGB;
        image.width = static_cast<int>(png.width);
        image.height = static_cast<int>(png.height);
        image.rgb.resize(PNG_IMAGE_SIZE(png));
        ok = png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr) != 0;
    }
    png_image_free(&png);
    EXPECT_TRUE(ok) << path;
    return image;
}

Image grabWindow(const std::string& windowId)
{
    Window window = std::stoul(windowId);
    // What the X server holds on screen for the window, as xwd would dump it.
    Image image;
    Display* d = display();
    XWindowAttributes attributes;
    if (!d || !XGetWindowAttributes(d, window, &attributes))
        return image;
    XImage* grabbed = XGetImage(d, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!grabbed)
        return image;
    image.width = attributes.width;
    image.height = attributes.height;
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    const unsigned long masks[3] = {grabbed->red_mask, grabbed->green_mask, grabbed->blue_mask};
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            unsigned long pixel = XGetPixel(grabbed, x, y);
            for (int c = 0; c < 3; ++c)
                image.rgb[(static_cast<size_t>(y) * image.width + x) * 3 + c] =
                    static_cast<uint8_t>((pixel & masks[c]) >> __builtin_ctzl(masks[c]));
        }
    }
    XDestroyImage(grabbed);
    return image;
}

std::vector<std::string> captureArgs(const std::string& out, int fromMs, int toMs, int fps, const std::string& mode)
{
    return {"--windowed", "--mode", mode, "--capture", out, "--fps", std::to_string(fps),
            "--from", std::to_string(fromMs), "--to", std::to_string(toMs)};
}

Image frameAt(const std::string& dir, int ms, int fps)
{
    RunResult r = runVelmora(dir, captureArgs("f", ms, ms, fps));
    EXPECT_EQ(r.exitCode, 0) << ms << ": " << r.err;
    return readFrame(framePath(dir + "/f", 0));
}

std::string framePath(const std::string& dir, int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%05d.png", index);
    return dir + name;
}

void useScript(const std::string& dir, const std::string& text)
{
    fs::remove(dir + "/data/heaven.scpt");
    writeFile(dir + "/data/heaven.scpt", text);
}

void expectStartupFailure(const RunResult& r, const std::string& dir, const std::string& file,
                          const std::string& logLine)
{
    EXPECT_EQ(r.exitCode, 1) << file << ": " << r.err;
    EXPECT_NE(r.err.find(file), std::string::npos) << file << ": " << r.err;
    std::string last = lastLine(readFile(dir + "/debug_log.txt"));
    EXPECT_NE(last.find(logLine), std::string::npos) << file << ": " << last;
    EXPECT_FALSE(fileExists(dir + "/f/frame_00000.png")) << file;
}

} // namespace testsupport
