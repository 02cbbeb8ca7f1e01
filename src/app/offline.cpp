#include "app/offline.h"

#include <epoxy/gl.h>
#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>

#include "core/show_clock.h"
#include "app/startup.h"
#include "timeline/frame_sequencer.h"

namespace {

struct Capture {
    bool video = false;
    std::string directory;
    int width = 0;
    int height = 0;
    int64_t frame = 0;
    std::vector<uint8_t> pixels;
    pid_t encoder = -1;
    FILE* pipe = nullptr;
} capture;

const char* kMusicFile = "data/music/drellnivar-Velmora.ogg";

bool startEncoder(const Options& options, std::string& error)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    std::vector<std::string> args =
        encoderArgs(options, capture.width, capture.height, access(kMusicFile, R_OK) == 0);

    pid_t pid = fork();
    if (pid < 0) {
        error = std::string("cannot start ffmpeg: ") + std::strerror(errno);
        return false;
    }
    if (pid == 0) {
        dup2(fds[0], STDIN_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp("ffmpeg", argv.data());
        std::fprintf(stderr, "velmora: cannot run ffmpeg: %s\n", std::strerror(errno));
        _exit(127);
    }
    close(fds[0]);
    capture.encoder = pid;
    capture.pipe = fdopen(fds[1], "wb");
    // A dead encoder must give a write error, not kill the show.
    std::signal(SIGPIPE, SIG_IGN);
    return capture.pipe != nullptr;
}

} // namespace

std::vector<std::string> encoderArgs(const Options& options, int width, int height, bool withMusic)
{
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    std::string rate = std::to_string(options.fps);
    // The sound starts where the first frame is.
    char offset[32];
    std::snprintf(offset, sizeof offset, "%.3f", firstShownMs(options) / 1000.0);

    std::vector<std::string> args = {"ffmpeg", "-y", "-loglevel", "error", "-f", "rawvideo",
                                     "-pix_fmt", "rgb24", "-s", size, "-r", rate, "-i", "-"};
    if (withMusic) {
        args.insert(args.end(), {"-ss", offset, "-i", kMusicFile, "-map", "0:v", "-map", "1:a",
                                 "-c:a", "aac", "-b:a", "192k", "-shortest"});
    }
    args.insert(args.end(), {"-c:v", "libx264", "-pix_fmt", "yuv420p", "-crf", "18",
                             options.capturePath});
    return args;
}

bool writePng(const std::string& path, int width, int height, const uint8_t* rgb, std::string& error)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        error = "cannot encode '" + path + "'";
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 3); // frames are many; speed over size
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgb + static_cast<size_t>(y) * width * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

bool openCapture(const Options& options, int width, int height, std::string& error)
{
    capture.width = width;
    capture.height = height;
    capture.frame = 0;
    capture.pixels.assign(static_cast<size_t>(width) * height * 3, 0);
    capture.video = captureIsVideo(options.capturePath);
    if (capture.video)
        return startEncoder(options, error);
    capture.directory = options.capturePath;
    if (mkdir(capture.directory.c_str(), 0755) != 0 && errno != EEXIST) {
        error = "cannot make '" + capture.directory + "': " + std::strerror(errno);
        return false;
    }
    struct stat st;
    if (stat(capture.directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = "'" + capture.directory + "' is not a directory";
        return false;
    }
    return true;
}

bool captureFrame(std::string& error)
{
    const int w = capture.width, h = capture.height;
    std::vector<uint8_t> bottomUp(capture.pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    const size_t row = static_cast<size_t>(w) * 3;
    for (int y = 0; y < h; ++y)
        std::memcpy(&capture.pixels[y * row], &bottomUp[(h - 1 - y) * row], row);

    int64_t k = capture.frame++;
    if (capture.video) {
        if (std::fwrite(capture.pixels.data(), 1, capture.pixels.size(), capture.pipe) !=
            capture.pixels.size()) {
            error = "ffmpeg stopped taking frames";
            return false;
        }
        return true;
    }
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%05lld.png", static_cast<long long>(k));
    return writePng(capture.directory + name, w, h, capture.pixels.data(), error);
}

bool closeCapture(std::string& error)
{
    if (!capture.video)
        return true;
    if (capture.pipe)
        std::fclose(capture.pipe);
    capture.pipe = nullptr;
    int status = 0;
    if (capture.encoder > 0 && waitpid(capture.encoder, &status, 0) == capture.encoder &&
        WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    error = WIFEXITED(status) && WEXITSTATUS(status) == 127 ? "ffmpeg is not installed"
                                                             : "ffmpeg failed to write the video";
    return false;
}

void showProgress(int64_t frame, int64_t total, double fps)
{
    // On a terminal the line rewrites itself a few times a second; into a file
    // or a pipe it is a new line every few seconds. The first and last frames always show.
    static const bool terminal = isatty(STDERR_FILENO);
    static double lastShown = -1.0e9;
    double now = showclock::wallMs();
    bool last = frame >= total;
    if (!last && frame != 1 && now - lastShown < (terminal ? 250.0 : 5000.0))
        return;
    lastShown = now;
    std::fprintf(stderr, "%scapture: frame %lld of %lld, %.1f fps%s", terminal ? "\r" : "",
                 static_cast<long long>(frame), static_cast<long long>(total), fps,
                 terminal && !last ? "   " : "\n");
}

FrameStats frameStats(std::vector<double> frameMs)
{
    FrameStats stats;
    stats.frames = frameMs.size();
    if (frameMs.empty())
        return stats;
    double sum = 0.0;
    for (double ms : frameMs)
        sum += ms;
    stats.meanMs = sum / static_cast<double>(frameMs.size());
    std::sort(frameMs.begin(), frameMs.end());
    size_t rank = static_cast<size_t>(std::ceil(0.95 * static_cast<double>(frameMs.size())));
    stats.p95Ms = frameMs[std::max<size_t>(rank, 1) - 1];
    stats.fps = stats.meanMs > 0.0 ? 1000.0 / stats.meanMs : 0.0;
    return stats;
}

namespace {
std::map<int, std::vector<double>> gWindowFrames; // by Window, Count for none
double gFirstFrameMs = -1.0;

// The name followed by blanks up to width characters (UTF-8 letters count once).
std::string padded(const char* name, size_t width)
{
    std::string text = name;
    size_t letters = 0;
    for (unsigned char c : text)
        letters += (c & 0xC0) != 0x80;
    if (letters < width)
        text.append(width - letters, ' ');
    return text;
}
}

void timedemoFrame(int32_t musicMs, double frameMs)
{
    gWindowFrames[static_cast<int>(shownWindow(musicMs, markerWindows()))].push_back(frameMs);
}

void timedemoFirstFrame(double launchToFirstFrameMs)
{
    gFirstFrameMs = launchToFirstFrameMs;
}

bool timedemoReport(const std::string& reportPath, std::string& error)
{
    std::vector<double> all;
    std::printf("start-up steps:\n");
    double startupTotal = 0.0;
    for (const StartupStepTime& step : startupStepTimes()) {
        std::printf("  %-28s %9.1f ms\n", step.name.c_str(), step.ms);
        startupTotal += step.ms;
    }
    std::printf("  %-28s %9.1f ms\n", "total", startupTotal);
    std::printf("launch to first frame: %.1f ms\n", gFirstFrameMs);
    std::printf("%-22s %7s %10s %10s %9s\n", "window", "frames", "mean ms", "p95 ms", "fps");
    for (auto& [window, times] : gWindowFrames) {
        FrameStats s = frameStats(times);
        std::printf("%s %7zu %10.2f %10.2f %9.1f\n", padded(windowReportName(static_cast<Window>(window)), 22).c_str(),
                    s.frames, s.meanMs, s.p95Ms, s.fps);
        all.insert(all.end(), times.begin(), times.end());
    }
    FrameStats total = frameStats(all);
    std::printf("%-22s %7zu %10.2f %10.2f %9.1f\n", "whole show", total.frames, total.meanMs,
                total.p95Ms, total.fps);
    if (reportPath.empty())
        return true;

    FILE* file = std::fopen(reportPath.c_str(), "wb");
    if (!file) {
        error = "cannot write '" + reportPath + "': " + std::strerror(errno);
        return false;
    }
    std::fprintf(file, "{\n  \"startup\": [");
    const char* sep = "";
    for (const StartupStepTime& step : startupStepTimes()) {
        std::fprintf(file, "%s\n    {\"step\": \"%s\", \"ms\": %.3f}", sep, step.name.c_str(), step.ms);
        sep = ",";
    }
    std::fprintf(file, "\n  ],\n  \"launch_to_first_frame_ms\": %.3f,\n  \"windows\": [", gFirstFrameMs);
    sep = "";
    auto writeStats = [&](const char* name, const FrameStats& s) {
        std::fprintf(file, "%s\n    {\"window\": \"%s\", \"frames\": %zu, \"mean_ms\": %.3f, "
                           "\"p95_ms\": %.3f, \"fps\": %.2f}",
                     sep, name, s.frames, s.meanMs, s.p95Ms, s.fps);
        sep = ",";
    };
    for (auto& [window, times] : gWindowFrames)
        writeStats(windowReportName(static_cast<Window>(window)), frameStats(times));
    std::fprintf(file, "\n  ],\n  \"whole_show\": ");
    sep = "";
    writeStats("whole show", total);
    std::fprintf(file, "\n}\n");
    if (std::fclose(file) != 0) {
        error = "cannot write '" + reportPath + "'";
        return false;
    }
    return true;
}
