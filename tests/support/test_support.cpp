#include "support/test_support.h"

#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

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
        bool skip = false;
        for (const std::string& left : leaveOut)
            skip = skip || relative == fs::path(left);
        if (skip)
            continue;
        if (entry.is_directory())
            fs::create_directories(dir / "data" / relative);
        else
            fs::create_symlink(entry.path(), dir / "data" / relative);
    }
    return dir.string();
}

Running startVelmora(const std::string& dir, const std::vector<std::string>& args,
                     const std::vector<std::string>& env)
{
    Running running;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        return running;
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
        std::vector<std::string> all = {VELMORA_EXE};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(VELMORA_EXE, argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    running.pid = pid;
    running.outFd = outPipe[0];
    running.errFd = errPipe[0];
    return running;
}

RunResult finishVelmora(Running running, int timeoutSeconds)
{
    RunResult result;
    if (running.pid < 0)
        return result;
    pid_t pid = running.pid;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    pollfd fds[2] = {{running.outFd, POLLIN, 0}, {running.errFd, POLLIN, 0}};
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
    return result;
}

RunResult runVelmora(const std::string& dir, const std::vector<std::string>& args, int timeoutSeconds,
                     const std::vector<std::string>& env)
{
    return finishVelmora(startVelmora(dir, args, env), timeoutSeconds);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

bool readPng(const std::string& path, Image& image)
{
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return false;
    png.format = PNG_FORMAT_RGB;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.rgb.resize(PNG_IMAGE_SIZE(png));
    bool ok = png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr) != 0;
    png_image_free(&png);
    return ok;
}

} // namespace testsupport
