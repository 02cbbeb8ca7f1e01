#include "app/capture.h"

#include <epoxy/gl.h>
#include <png.h>
#include <zlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "app/capture_jobs.h"
#include "core/bounded_queue.h"
#include "core/data_dir.h"
#include "core/show_clock.h"
#include "platform/process.h"

namespace {

// A frame read back and waiting for its writer: 8-bit RGB, rows top-down.
struct Frame {
    int64_t index = 0;
    std::unique_ptr<uint8_t[]> rgb;
};

struct Capture {
    bool video = false;
    std::string directory;
    int width = 0;
    int height = 0;
    size_t frameBytes = 0;
    int64_t frame = 0; // frames read back so far
    int64_t firstNumber = 0; // the first frame's number in its file name
    bool part = false; // one part of a capture split into jobs: a video without sound

    // With pixel-buffer objects a frame's read-back is only started when it
    // ends, and collected when the next one ends; 0 where the driver has none.
    GLuint packBuffer = 0;
    bool pending = false; // the pack buffer holds frame `frame - 1`
    std::vector<uint8_t> bottomUp; // without them, each frame as GL hands it over

    // Frames in flight are at most the queue's size, one per writer and the one read back.
    std::unique_ptr<BoundedQueue<Frame>> queue;
    std::vector<std::thread> writers;
    platform::PipedChild encoder;

    std::mutex errorMutex;
    std::string error; // the first writer's failure
    std::atomic<bool> failed{false};
};
struct {
    // Made at open and never destroyed at exit, so that a run which exits in
    // the middle of a capture is not held up by its writer threads.
    Capture* capture = nullptr;
    double progressShownMs = -1.0e9; // wall time of the last progress line
} state;

const char* kMusicFile = "data/music/drellnivar-Velmora.ogg";
const char* kEncoderStopped = "ffmpeg stopped taking frames";
constexpr unsigned kMostPngWriters = 8;

// Records the capture's first failure; the queue takes no more frames. A PNG
// failure lets the frames already queued be written; a dead encoder drops them.
void failCapture(const std::string& error, bool dropQueued)
{
    {
        std::lock_guard lock(state.capture->errorMutex);
        if (state.capture->error.empty())
            state.capture->error = error;
    }
    state.capture->failed = true;
    if (dropQueued)
        state.capture->queue->abandon();
    else
        state.capture->queue->close();
}

void writePngFrames()
{
    while (std::optional<Frame> frame = state.capture->queue->pop()) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%05lld.png",
                      static_cast<long long>(state.capture->firstNumber + frame->index));
        std::string error;
        if (!writePng(state.capture->directory + name, state.capture->width, state.capture->height, frame->rgb.get(), error))
            failCapture(error, false);
    }
}

void feedEncoder()
{
    while (std::optional<Frame> frame = state.capture->queue->pop()) {
        if (std::fwrite(frame->rgb.get(), 1, state.capture->frameBytes, state.capture->encoder.input) != state.capture->frameBytes) {
            failCapture(kEncoderStopped, true);
            return;
        }
    }
}

bool startEncoder(const Options& options, std::string& error)
{
    // The parts of a split capture are joined before the music is laid.
    const bool withMusic = !state.capture->part && access(dataFile(kMusicFile).c_str(), R_OK) == 0;
    std::vector<std::string> args = encoderArgs(options, state.capture->width, state.capture->height, withMusic);
    if (!platform::startPipedChild(args, state.capture->encoder, error))
        return false;
    state.capture->queue = std::make_unique<BoundedQueue<Frame>>(2);
    state.capture->writers.emplace_back(feedEncoder);
    return true;
}

bool startPngWriters(std::string& error)
{
    if (mkdir(state.capture->directory.c_str(), 0755) != 0 && errno != EEXIST) {
        error = "cannot make '" + state.capture->directory + "': " + std::strerror(errno);
        return false;
    }
    struct stat st;
    if (stat(state.capture->directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = "'" + state.capture->directory + "' is not a directory";
        return false;
    }
    // Encoding a PNG costs several times the read-back: one writer per core.
    unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, kMostPngWriters);
    state.capture->queue = std::make_unique<BoundedQueue<Frame>>(count);
    for (unsigned i = 0; i < count; ++i)
        state.capture->writers.emplace_back(writePngFrames);
    return true;
}

Frame newFrame(int64_t index)
{
    return Frame{index, std::unique_ptr<uint8_t[]>(new uint8_t[state.capture->frameBytes])};
}

// GL rows come bottom-up; frames hold them top-down.
void copyRowsFlipped(const uint8_t* bottomUp, uint8_t* topDown)
{
    const size_t row = static_cast<size_t>(state.capture->width) * 3;
    for (int y = 0; y < state.capture->height; ++y)
        std::memcpy(topDown + y * row, bottomUp + (state.capture->height - 1 - y) * row, row);
}

// Waits while the writers are a queue's length behind; a frame handed on
// after they failed is dropped.
void handOn(Frame frame)
{
    state.capture->queue->push(std::move(frame));
}

// Hands on the frame waiting in the pack buffer.
void handOnPending()
{
    state.capture->pending = false;
    Frame frame = newFrame(state.capture->frame - 1);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, state.capture->packBuffer);
    const void* pixels = glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
    if (pixels) {
        copyRowsFlipped(static_cast<const uint8_t*>(pixels), frame.rgb.get());
        glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    if (pixels)
        handOn(std::move(frame));
    else
        failCapture("cannot read the frame back from OpenGL", false);
}

// Lets the writers finish what is queued, stops the encoder, frees the GL
// buffer and ends the capture; false with the first failure.
bool endCapture(std::string& error)
{
    state.capture->queue->close();
    for (std::thread& writer : state.capture->writers)
        writer.join();
    if (state.capture->packBuffer)
        glDeleteBuffers(1, &state.capture->packBuffer);
    bool ok = !state.capture->failed;
    if (!ok)
        error = state.capture->error;
    if (state.capture->video) {
        int status = platform::finishPipedChild(state.capture->encoder);
        if (status == 127) {
            error = "ffmpeg is not installed";
            ok = false;
        } else if (ok && status != 0) {
            error = "ffmpeg failed to write the video";
            ok = false;
        } else if (!ok && error == kEncoderStopped && status > 0) {
            error += " (it exited with status " + std::to_string(status) + ")";
        }
    }
    delete state.capture;
    state.capture = nullptr;
    return ok;
}

void keepPngError(png_structp png, png_const_charp message)
{
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

void ignorePngWarning(png_structp, png_const_charp) {}

std::string timeLeftText(double seconds)
{
    long total = std::lround(std::max(seconds, 0.0));
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

// The music as ffmpeg's second input, laid under the first input's video.
void addMusic(const Options& options, std::vector<std::string>& args)
{
    // The sound starts where the first frame is.
    char offset[32];
    std::snprintf(offset, sizeof offset, "%.3f", firstShownMs(options) / 1000.0);
    args.insert(args.end(), {"-ss", offset, "-i", dataFile(kMusicFile), "-map", "0:v", "-map", "1:a",
                             "-c:a", "aac", "-b:a", "192k", "-shortest"});
}

} // namespace

std::vector<std::string> encoderArgs(const Options& options, int width, int height, bool withMusic)
{
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    std::string rate = std::to_string(options.fps);
    std::vector<std::string> args = {"ffmpeg", "-y", "-loglevel", "error", "-f", "rawvideo",
                                     "-pix_fmt", "rgb24", "-s", size, "-r", rate, "-i", "-"};
    if (withMusic)
        addMusic(options, args);
    // x264's "veryfast" takes under half the CPU of its default at the same
    // quality (crf 18), which leaves the cores to the drawing.
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p", "-crf", "18",
                             options.capturePath});
    return args;
}

std::vector<std::string> joinArgs(const Options& options, const std::string& partList, const std::string& output)
{
    std::vector<std::string> args = {"ffmpeg", "-y", "-loglevel", "error", "-f", "concat", "-safe", "0",
                                     "-i", partList};
    if (access(dataFile(kMusicFile).c_str(), R_OK) == 0)
        addMusic(options, args);
    args.insert(args.end(), {"-c:v", "copy", output});
    return args;
}

bool writePng(const std::string& path, int width, int height, const uint8_t* rgb, std::string& error)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    // libpng's own messages would land on stderr beside ours: keep its reason for ours.
    std::string reason = "out of memory";
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &reason, keepPngError, ignorePngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        if (std::ferror(file))
            reason = std::strerror(errno); // the write that failed
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        std::remove(path.c_str()); // no half-written frame
        error = "cannot write '" + path + "': " + reason;
        return false;
    }
    png_init_io(png, file);
    // Frames are many: the Up filter with run-length coding is about three
    // times quicker than zlib's level 3 over all filters, and no larger on the show's frames.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_strategy(png, Z_RLE);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgb + static_cast<size_t>(y) * width * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        std::remove(path.c_str());
        return false;
    }
    return true;
}

bool openCapture(const Options& options, int width, int height, std::string& error)
{
    state.capture = new Capture;
    state.capture->width = width;
    state.capture->height = height;
    state.capture->frameBytes = static_cast<size_t>(width) * height * 3;
    state.capture->video = captureIsVideo(options.capturePath);
    state.capture->directory = options.capturePath;
    if (std::optional<int64_t> first = capturePartFirstFrame()) {
        state.capture->part = true;
        state.capture->firstNumber = *first;
    }
    bool started = state.capture->video ? startEncoder(options, error) : startPngWriters(error);
    if (!started)
        return false;
    // Pixel-pack buffers are core from OpenGL 2.1; a 2.0 driver may offer them as an extension.
    if (epoxy_gl_version() >= 21 || epoxy_has_gl_extension("GL_ARB_pixel_buffer_object")) {
        glGenBuffers(1, &state.capture->packBuffer);
        glBindBuffer(GL_PIXEL_PACK_BUFFER, state.capture->packBuffer);
        glBufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(state.capture->frameBytes), nullptr, GL_STREAM_READ);
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    } else {
        state.capture->bottomUp.resize(state.capture->frameBytes);
    }
    return true;
}

bool captureFrame(std::string& error)
{
    const int w = state.capture->width, h = state.capture->height;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    if (state.capture->packBuffer) {
        // The frame before this one was read back while this one drew.
        if (state.capture->pending)
            handOnPending();
        glBindBuffer(GL_PIXEL_PACK_BUFFER, state.capture->packBuffer);
        glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        state.capture->pending = true;
    } else {
        glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, state.capture->bottomUp.data());
        Frame frame = newFrame(state.capture->frame);
        copyRowsFlipped(state.capture->bottomUp.data(), frame.rgb.get());
        handOn(std::move(frame));
    }
    ++state.capture->frame;
    if (!state.capture->failed)
        return true;
    state.capture->pending = false; // the capture ends here
    endCapture(error);
    return false;
}

bool closeCapture(std::string& error)
{
    if (!state.capture)
        return true;
    // The last frame is still in the pack buffer.
    if (state.capture->pending && !state.capture->failed)
        handOnPending();
    return endCapture(error);
}

void showProgress(int64_t frame, int64_t total, double fps)
{
    // On a terminal the line rewrites itself a few times a second; into a file
    // or a pipe it is a new line every few seconds, and a few a second for the
    // process that runs a split capture's parts. The first and last frames always show.
    static const bool terminal = isatty(STDERR_FILENO);
    static const bool part = capturePartFirstFrame().has_value();
    double now = showclock::wallMs();
    bool last = frame >= total;
    if (!last && frame != 1 && now - state.progressShownMs < (terminal || part ? 250.0 : 5000.0))
        return;
    state.progressShownMs = now;
    std::string left = fps > 0.0 ? timeLeftText(static_cast<double>(total - frame) / fps) : "?";
    std::fprintf(stderr, "%scapture: frame %lld of %lld, %.1f fps, %s left%s", terminal ? "\r" : "",
                 static_cast<long long>(frame), static_cast<long long>(total), fps, left.c_str(),
                 terminal && !last ? "   " : "\n");
}
