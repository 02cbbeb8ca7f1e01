#include "app/capture.h"

#include <epoxy/gl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/data_dir.h"
#include "core/show_clock.h"
#include "platform/process.h"

namespace {

struct Capture {
    bool video = false;
    std::string directory;
    int width = 0;
    int height = 0;
    int64_t frame = 0;
    std::vector<uint8_t> pixels;
    platform::PipedChild encoder;
} capture;

const char* kMusicFile = "data/music/drellnivar-Velmora.ogg";

bool startEncoder(const Options& options, std::string& error)
{
    std::vector<std::string> args =
        encoderArgs(options, capture.width, capture.height, access(dataFile(kMusicFile).c_str(), R_OK) == 0);
    return platform::startPipedChild(args, capture.encoder, error);
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
        args.insert(args.end(), {"-ss", offset, "-i", dataFile(kMusicFile), "-map", "0:v", "-map", "1:a",
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
        if (std::fwrite(capture.pixels.data(), 1, capture.pixels.size(), capture.encoder.input) !=
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
    int status = platform::finishPipedChild(capture.encoder);
    if (status == 0)
        return true;
    error = status == 127 ? "ffmpeg is not installed" : "ffmpeg failed to write the video";
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

