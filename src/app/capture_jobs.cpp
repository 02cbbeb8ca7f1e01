#include "app/capture_jobs.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/capture.h"
#include "app/show.h"
#include "app/show_controls.h"
#include "core/data_dir.h"
#include "core/log.h"
#include "core/show_clock.h"
#include "platform/process.h"
#include "timeline/show_table.h"

namespace fs = std::filesystem;

namespace {

// Set for each worker: the number its first frame has in the whole run.
const char* const kPartVariable = "VELMORA_CAPTURE_PART";
const char* const kPartLog = "log.txt";
const char* const kPartVideo = "part.mp4";
// How long a worker asked to stop may take to hand on its last frames.
constexpr double kStopGraceMs = 5000.0;

struct Part {
    FrameSpan frames;
    int32_t fromMs = 0;
    int32_t toMs = 0;
    std::string directory;       // its log and its video
    platform::WatchedChild child;
    std::string unfinishedLine;  // what came of its stderr after the last line end
    int64_t done = 0;            // frames it reports captured
    int status = 0;              // its exit status once it has ended
};

struct JobRun {
    bool video = false;
    fs::path target;             // absolute
    fs::path scratch;            // the parts' directories, removed at the end
    std::vector<Part> parts;
    platform::WatchedChild joiner; // the ffmpeg that joins the videos
    std::string joinerLine;
    double firstFrameMs = -1.0;  // wall time of the first frame any part reported
    bool progressOpen = false;   // a progress line on the terminal waits for its line end
} run;

std::string rangeText(const Part& part)
{
    return std::to_string(part.fromMs) + " to " + std::to_string(part.toMs) + " ms";
}

// A message of the run's own, on a line of its own.
void say(const std::string& line)
{
    if (run.progressOpen)
        std::fputs("\n", stderr);
    run.progressOpen = false;
    std::fprintf(stderr, "%s\n", line.c_str());
}

void showPartsProgress()
{
    int64_t done = 0, total = 0;
    for (const Part& part : run.parts) {
        done += part.done;
        total += part.frames.count();
    }
    if (done == 0)
        return;
    const double now = showclock::wallMs();
    if (run.firstFrameMs < 0.0)
        run.firstFrameMs = now;
    const double seconds = (now - run.firstFrameMs) / 1000.0;
    showProgress(done, total, seconds > 0.0 ? done / seconds : 0.0);
    run.progressOpen = isatty(STDERR_FILENO) && done < total;
}

// A worker's line: its progress is summed with the others'; its own notes on
// the capture are the run's to give; anything else is passed on, naming the part.
void readPartLine(Part& part, const std::string& line)
{
    long long frame = 0, total = 0;
    if (std::sscanf(line.c_str(), "capture: frame %lld of %lld", &frame, &total) == 2) {
        part.done = frame;
        showPartsProgress();
        return;
    }
    if (line.starts_with("capture: ") || line.empty())
        return;
    const std::string text = line.starts_with("velmora: ") ? line.substr(9) : line;
    say("velmora: part " + rangeText(part) + ": " + text);
}

// Reads what the child has written to its stderr so far, line by line.
void readErrors(platform::WatchedChild& child, std::string& unfinished,
                const std::function<void(const std::string&)>& readLine)
{
    char buffer[4096];
    while (child.errors >= 0) {
        ssize_t n = read(child.errors, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        if (n <= 0) { // its end, or a broken pipe
            close(child.errors);
            child.errors = -1;
            return;
        }
        unfinished.append(buffer, static_cast<size_t>(n));
        for (size_t end; (end = unfinished.find('\n')) != std::string::npos;) {
            std::string line = unfinished.substr(0, end);
            unfinished.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            readLine(line);
        }
    }
}

void readPartErrors(Part& part)
{
    readErrors(part.child, part.unfinishedLine, [&part](const std::string& line) { readPartLine(part, line); });
}

void readJoinerErrors()
{
    readErrors(run.joiner, run.joinerLine, [](const std::string& line) { say("velmora: ffmpeg: " + line); });
}

// Waits up to timeoutMs for anything on a child's stderr, and reads it.
void waitForErrors(int timeoutMs)
{
    std::vector<pollfd> fds;
    for (const Part& part : run.parts)
        if (part.child.errors >= 0)
            fds.push_back({part.child.errors, POLLIN, 0});
    if (run.joiner.errors >= 0)
        fds.push_back({run.joiner.errors, POLLIN, 0});
    if (fds.empty()) {
        usleep(static_cast<useconds_t>(timeoutMs) * 1000);
        return;
    }
    poll(fds.data(), fds.size(), timeoutMs); // a signal ends the wait early
    for (Part& part : run.parts)
        readPartErrors(part);
    readJoinerErrors();
}

bool partRunning(const Part& part)
{
    return part.child.pid > 0;
}

// Reaps the part if it has ended; true when it has.
bool partEnded(Part& part)
{
    if (!partRunning(part))
        return true;
    if (!platform::reapWatchedChild(part.child, false, part.status))
        return false;
    readPartErrors(part); // what it wrote last
    return true;
}

// Asks the workers still running to stop, so that each ends the frames it has
// begun; kills those that take too long, with whatever they started.
void stopParts()
{
    for (const Part& part : run.parts)
        platform::stopWatchedChild(part.child);
    const double deadline = showclock::wallMs() + kStopGraceMs;
    for (;;) {
        bool running = false;
        for (Part& part : run.parts)
            running = !partEnded(part) || running;
        if (!running || showclock::wallMs() > deadline)
            break;
        waitForErrors(50);
    }
    for (Part& part : run.parts) {
        platform::killWatchedChild(part.child);
        platform::reapWatchedChild(part.child, true, part.status);
    }
    int status;
    platform::killWatchedChild(run.joiner);
    platform::reapWatchedChild(run.joiner, true, status);
}

// The run's log is the first part's, or that of the part that failed: the one
// a one-process capture would have written up to the same point. It goes
// where that capture's log would have gone.
void keepLogOf(const Part& part)
{
    if (part.directory.empty())
        return; // never started
    std::ifstream in(fs::path(part.directory) / kPartLog, std::ios::binary);
    if (!in || !openLog())
        return;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    logWrite("%s", text.c_str());
    closeLog();
}

void removeScratch()
{
    std::error_code ec;
    fs::remove_all(run.scratch, ec);
}

int failRun(const std::string& cause, const Part* failed)
{
    stopParts();
    keepLogOf(failed ? *failed : run.parts.front());
    removeScratch();
    say("velmora: " + cause);
    return 1;
}

int interruptRun()
{
    stopParts();
    keepLogOf(run.parts.front());
    removeScratch();
    say(run.video ? "velmora: capture interrupted; the parts are removed and no video is written"
                  : "velmora: capture interrupted; the frames written so far are kept");
    return 130;
}

// Makes the scratch directory beside the target (inside a frame directory),
// so that the parts' videos and the joined one lie on the target's disk.
bool makeScratch(std::string& error)
{
    std::error_code ec;
    if (!run.video) {
        fs::create_directories(run.target, ec);
        if (!fs::is_directory(run.target)) {
            error = "cannot make '" + run.target.string() + "'" + (ec ? ": " + ec.message() : "");
            return false;
        }
    }
    const fs::path base = run.video ? run.target.parent_path() : run.target;
    std::string pattern = (base / ".velmora-parts-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        error = "cannot make a directory for the parts in '" + base.string() + "': " + std::strerror(errno);
        return false;
    }
    run.scratch = pattern;
    return true;
}

// Each worker reads the data tree this run chose and writes a log of its own
// into its part's directory.
bool startPart(Part& part, int index, int64_t firstNumber, int argc, const char* const* argv, std::string& error)
{
    part.directory = (run.scratch / ("part" + std::to_string(index + 1))).string();
    std::error_code ec;
    if (!fs::create_directory(part.directory, ec)) {
        error = "cannot make '" + part.directory + "': " + ec.message();
        return false;
    }
    const fs::path directory = part.directory;
    const std::string target = run.video ? (directory / kPartVideo).string() : run.target.string();
    WorkerPlace place{.capturePath = target,
                      .dataDir = fs::absolute(dataDir()).string(),
                      .logPath = (directory / kPartLog).string()};
    platform::ChildRequest request;
    request.args = {ownProgramPath()};
    for (std::string& arg : workerArguments(argc, argv, place, part.fromMs, part.toMs))
        request.args.push_back(std::move(arg));
    request.env = {std::string(kPartVariable) + "=" + std::to_string(firstNumber)};
    return platform::startWatchedChild(request, part.child, error);
}

std::string partsText()
{
    std::string text;
    for (const Part& part : run.parts)
        text += (text.empty() ? "" : ", ") + rangeText(part);
    return text;
}

// Runs every part to its end; 0, or the run's exit code once one fails.
int runParts()
{
    for (;;) {
        if (platform::interrupted())
            return interruptRun();
        waitForErrors(250);
        bool running = false;
        for (Part& part : run.parts) {
            if (!partEnded(part)) {
                running = true;
                continue;
            }
            if (part.status != 0) {
                const std::string how = part.status > 0 ? "exit status " + std::to_string(part.status)
                                                        : std::string("ended by a signal");
                return failRun("the part rendering " + rangeText(part) + " failed (" + how + "); the capture stops",
                               &part);
            }
            // Ended early without a failure: its window was closed.
            if (part.done != part.frames.count())
                return failRun("the part rendering " + rangeText(part) + " stopped after " +
                                   std::to_string(part.done) + " of its " + std::to_string(part.frames.count()) +
                                   " frames; the capture stops",
                               &part);
        }
        if (!running)
            return 0;
    }
}

// Joins the parts' videos into the target, through a file of their own that
// takes the target's name only once whole.
int joinParts(const Options& options)
{
    const fs::path list = run.scratch / "parts.txt";
    {
        std::ofstream out(list);
        for (const Part& part : run.parts) {
            std::string path = (fs::path(part.directory) / kPartVideo).string();
            // The concat list quotes names in single quotes; a quote in one is closed, escaped, reopened.
            std::string quoted;
            for (char c : path)
                quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
            // Each part's own length, exact to the microsecond: a part's file gives
            // it rounded to the millisecond, which would shift the later parts' frames.
            const long long us = part.frames.count() * 1000000LL / options.fps;
            char duration[48];
            std::snprintf(duration, sizeof duration, "duration %lld.%06lld\n", us / 1000000, us % 1000000);
            out << "file '" << quoted << "'\n" << duration;
        }
    }
    const fs::path joined = run.scratch / ("joined" + run.target.extension().string());
    say("capture: joining the " + std::to_string(run.parts.size()) + " parts into " + options.capturePath);

    platform::ChildRequest request{joinArgs(options, list.string(), joined.string()), {}};
    std::string error;
    if (!platform::startWatchedChild(request, run.joiner, error))
        return failRun(error, nullptr);
    int status = 0;
    for (;;) {
        if (platform::interrupted())
            return interruptRun();
        waitForErrors(250);
        if (platform::reapWatchedChild(run.joiner, false, status))
            break;
    }
    readJoinerErrors();
    if (status == 127)
        return failRun("ffmpeg is not installed", nullptr);
    std::error_code ec;
    if (status == 0)
        fs::rename(joined, run.target, ec);
    if (status != 0 || ec)
        return failRun("ffmpeg failed to join the parts into '" + options.capturePath + "'" +
                           (ec ? ": " + ec.message() : ""),
                       nullptr);
    return 0;
}

} // namespace

FrameSpan captureFrameSpan(const Options& options, const MarkerWindows& windows)
{
    const showclock::FrameGrid grid{options.fps};
    FrameSpan span;
    span.first = grid.firstFrom(firstShownMs(options));
    const int32_t lastMs = options.toMs.value_or(windows[Marker::Demoend].start);
    span.last = std::max(span.first, grid.lastTo(lastMs));
    for (int64_t k = span.first; k < span.last; ++k)
        if (showEndsAt(grid.msAt(k), windows))
            span.last = k;
    return span;
}

std::vector<FrameSpan> splitFrameSpan(FrameSpan span, int jobs)
{
    const int64_t count = std::clamp<int64_t>(jobs, 1, span.count());
    std::vector<FrameSpan> parts;
    int64_t first = span.first;
    for (int64_t i = 0; i < count; ++i) {
        const int64_t size = span.count() / count + (i < span.count() % count ? 1 : 0);
        parts.push_back({first, first + size - 1});
        first += size;
    }
    return parts;
}

std::vector<std::string> workerArguments(int argc, const char* const* argv, const WorkerPlace& place,
                                         int32_t fromMs, int32_t toMs)
{
    std::vector<std::string> args =
        argumentsWithout(argc, argv, {"--jobs", "--capture", "--from", "--to", "--data", "--log"});
    args.insert(args.end(), {"--capture", place.capturePath, "--from", std::to_string(fromMs), "--to",
                             std::to_string(toMs), "--data", place.dataDir, "--log", place.logPath});
    return args;
}

std::optional<int64_t> capturePartFirstFrame()
{
    const char* value = std::getenv(kPartVariable);
    if (!value || !*value)
        return std::nullopt;
    return std::strtoll(value, nullptr, 10);
}

int runCaptureJobs(const Options& options, int argc, const char* const* argv)
{
    const MarkerWindows windows = buildMarkerWindows(MarkerTable(dataFile(kScriptFile).c_str()));
    const FrameSpan span = captureFrameSpan(options, windows);
    const std::vector<FrameSpan> spans = splitFrameSpan(span, options.jobs.value_or(1));
    if (spans.size() == 1)
        return runShow(options);

    platform::catchInterrupts();
    run.video = captureIsVideo(options.capturePath);
    run.target = fs::absolute(options.capturePath);
    std::string error;
    if (!makeScratch(error)) {
        say("velmora: " + error);
        return 1;
    }
    const showclock::FrameGrid grid{options.fps};
    for (const FrameSpan& frames : spans)
        run.parts.push_back({.frames = frames, .fromMs = grid.msAt(frames.first), .toMs = grid.msAt(frames.last)});
    say("capture: " + std::to_string(span.count()) + " frames in " + std::to_string(run.parts.size()) +
        " jobs (" + partsText() + "); each first runs the show unseen from 0 to its start");
    for (size_t i = 0; i < run.parts.size(); ++i) {
        Part& part = run.parts[i];
        if (!startPart(part, static_cast<int>(i), part.frames.first - span.first, argc, argv, error))
            return failRun(error, nullptr);
    }

    int code = runParts();
    if (code == 0 && run.video)
        code = joinParts(options);
    if (code != 0)
        return code;
    keepLogOf(run.parts.front());
    removeScratch();
    return 0;
}
