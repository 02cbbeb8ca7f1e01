#include "app/options.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

const char* const kUsageLine =
    "usage: velmora [--go] [--mode WxH] [--aspect 16:10|16:9|full] [--windowed|--fullscreen]\n"
    "               [--antialias|--no-antialias] [--start MS] [--capture PATH] [--fps N]\n"
    "               [--from MS] [--to MS] [--jobs N] [--timedemo] [--report FILE] [--dev]\n"
    "               [--data DIR] [--log FILE] [--help] [--version]\n";

const char* const kHelpText =
    "Velmora, a real-time audiovisual demo.\n"
    "\n"
    "  --go                  skip the settings dialog and take its defaults\n"
    "  --mode WxH            display mode (in a window, any size)\n"
    "  --aspect 16:10|16:9|full\n"
    "                        picture band\n"
    "  --windowed            run in a window\n"
    "  --fullscreen          run full screen (the default)\n"
    "  --antialias           smooth line drawings (the default)\n"
    "  --no-antialias        do not smooth line drawings\n"
    "  --start MS            start the music and the show at MS milliseconds\n"
    "  --capture PATH        render offline: frame_00000.png, ... into a directory,\n"
    "                        or a video with the music into a .mp4 or .mkv file (needs ffmpeg)\n"
    "  --fps N               capture or timedemo rate (default 60)\n"
    "  --from MS, --to MS    capture or timedemo range (default the whole show;\n"
    "                        a timedemo stops short of --to, so that a window's\n"
    "                        bounds measure that window alone)\n"
    "  --jobs N              with --capture, render the range in N parts at once, in\n"
    "                        N processes, and join them: the same frames, sooner on\n"
    "                        a machine with cores to spare\n"
    "  --timedemo            run the show at a fixed step as fast as it renders and\n"
    "                        print start-up times and, per window, frame times and\n"
    "                        the main thread's CPU time per frame\n"
    "  --report FILE         with --timedemo, also write the times as JSON\n"
    "  --dev                 watch data/heaven.scpt and read it again whenever it\n"
    "                        changes (not with --capture or --timedemo)\n"
    "  --data DIR            read the show's data from DIR (default: ./data, else the\n"
    "                        installed share/velmora/data, else data/ beside the program)\n"
    "  --log FILE            write the log to FILE (default: debug_log.txt in the\n"
    "                        working directory, else ~/.local/state/velmora/)\n"
    "  --help, --version     this text, the version\n"
    "\n"
    "--capture and --timedemo need no display: without one they render off-screen.\n"
    "\n"
    "Keys while the show plays (not under --capture or --timedemo):\n"
    "  Space                 pause and resume (the music and the picture stand still)\n"
    "  Left, Right           5 seconds back, forward (never before 0; at the end\n"
    "                        of the show it ends)\n"
    "  Page Up               the latest window start at least 1 second back: a\n"
    "                        second into a window its own start, sooner the one before\n"
    "  Page Down             the start of the next window (the last one ends the show)\n"
    "  Home                  the show again from 0\n"
    "  I                     the info band: show time, running windows with their\n"
    "                        ramps, frames per second\n"
    "  R                     read data/heaven.scpt again\n"
    "  Escape                end the show\n";

namespace {

bool parseInt(std::string_view text, long long low, long long high, long long& value)
{
    if (text.empty())
        return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

constexpr long long kMaxMs = 24LL * 3600 * 1000;

bool readMs(std::string_view text, std::optional<int32_t>& out)
{
    long long ms;
    if (!parseInt(text, 0, kMaxMs, ms))
        return false;
    out = static_cast<int32_t>(ms);
    return true;
}

bool readPath(std::string_view text, std::string& out)
{
    out = text;
    return !text.empty();
}

// One option of the command line. A flag sets its field and takes no value
// (given one, "--go=1", it is an unknown option); the others read their value
// from "--name=VALUE" or the next argument, false when it is malformed.
struct OptionRow {
    std::string_view name;
    void (*flag)(Options&) = nullptr;
    bool (*value)(Options&, std::string_view) = nullptr;
    ParseResult ends = ParseResult::Run; // --help and --version end the reading there
};

const OptionRow kOptionRows[] = {
    {.name = "--help", .ends = ParseResult::Help},
    {.name = "--version", .ends = ParseResult::Version},
    {.name = "--go", .flag = [](Options& o) { o.go = true; }},
    {.name = "--windowed", .flag = [](Options& o) { o.fullscreen = false; }},
    {.name = "--fullscreen", .flag = [](Options& o) { o.fullscreen = true; }},
    {.name = "--antialias", .flag = [](Options& o) { o.antiAlias = true; }},
    {.name = "--no-antialias", .flag = [](Options& o) { o.antiAlias = false; }},
    {.name = "--timedemo", .flag = [](Options& o) { o.timedemo = true; }},
    {.name = "--dev", .flag = [](Options& o) { o.dev = true; }},
    {.name = "--mode", .value = [](Options& o, std::string_view v) {
         int w, h;
         if (!parseModeText(v, w, h))
             return false;
         o.modeWidth = w;
         o.modeHeight = h;
         return true;
     }},
    {.name = "--aspect", .value = [](Options& o, std::string_view v) {
         const std::string_view bands[] = {"16:10", "16:9", "full"};
         for (int k = 0; k < 3; ++k)
             if (v == bands[k])
                 o.aspect = k;
         return v == bands[0] || v == bands[1] || v == bands[2];
     }},
    {.name = "--start", .value = [](Options& o, std::string_view v) { return readMs(v, o.startMs); }},
    {.name = "--from", .value = [](Options& o, std::string_view v) { return readMs(v, o.fromMs); }},
    {.name = "--to", .value = [](Options& o, std::string_view v) { return readMs(v, o.toMs); }},
    {.name = "--fps", .value = [](Options& o, std::string_view v) {
         long long fps;
         if (!parseInt(v, 1, 1000, fps))
             return false;
         o.fps = static_cast<int>(fps);
         return true;
     }},
    {.name = "--jobs", .value = [](Options& o, std::string_view v) {
         long long jobs;
         if (!parseInt(v, 1, INT32_MAX, jobs))
             return false;
         o.jobs = static_cast<int>(jobs);
         return true;
     }},
    {.name = "--capture", .value = [](Options& o, std::string_view v) { return readPath(v, o.capturePath); }},
    {.name = "--report", .value = [](Options& o, std::string_view v) { return readPath(v, o.reportPath); }},
    {.name = "--data", .value = [](Options& o, std::string_view v) { return readPath(v, o.dataDir); }},
    {.name = "--log", .value = [](Options& o, std::string_view v) { return readPath(v, o.logPath); }},
};

const OptionRow* findOption(std::string_view name, bool hasInlineValue)
{
    for (const OptionRow& row : kOptionRows)
        if (row.name == name && !(hasInlineValue && !row.value))
            return &row;
    return nullptr;
}

// Combinations that make no sense; empty when the options agree.
std::string disagreement(const Options& options)
{
    if (options.toMs && *options.toMs < firstShownMs(options))
        return options.fromMs ? "--to comes before --from" : "--to comes before --start";
    if (!options.capturePath.empty() && options.timedemo)
        return "--capture and --timedemo exclude each other";
    if (options.dev && (options.timedemo || !options.capturePath.empty()))
        return "--dev needs the real-time show";
    if (!options.reportPath.empty() && !options.timedemo)
        return "--report needs --timedemo";
    if (options.jobs && options.capturePath.empty())
        return "--jobs needs --capture";
    return {};
}

} // namespace

int32_t firstShownMs(const Options& options)
{
    return options.fromMs.value_or(options.startMs.value_or(0));
}

bool parseModeText(std::string_view text, int& width, int& height)
{
    size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos)
        return false;
    long long w, h;
    if (!parseInt(text.substr(0, x), 1, 16384, w) || !parseInt(text.substr(x + 1), 1, 16384, h))
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

std::vector<std::string> argumentsWithout(int argc, const char* const* argv,
                                          const std::vector<std::string_view>& names)
{
    std::vector<std::string> kept;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        size_t eq = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
        std::string_view name = arg.substr(0, eq);
        const OptionRow* row = findOption(name, eq != std::string_view::npos);
        // A value given as the next argument goes with its option.
        const int values = row && row->value && eq == std::string_view::npos ? 1 : 0;
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            for (int k = i; k <= i + values && k < argc; ++k)
                kept.emplace_back(argv[k]);
        }
        i += values;
    }
    return kept;
}

bool captureIsVideo(const std::string& path)
{
    auto endsWith = [&](const char* suffix) {
        size_t n = std::strlen(suffix);
        return path.size() > n && path.compare(path.size() - n, n, suffix) == 0;
    };
    return endsWith(".mp4") || endsWith(".mkv");
}

ParseResult parseOptions(int argc, const char* const* argv, Options& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::string_view value;
        bool hasInlineValue = false;
        if (arg.starts_with("--")) {
            size_t eq = arg.find('=');
            if (eq != std::string_view::npos) {
                value = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
                hasInlineValue = true;
            }
        }
        const OptionRow* row = findOption(arg, hasInlineValue);
        if (!row) {
            error = "unknown option '" + std::string(argv[i]) + "'";
            return ParseResult::Error;
        }
        if (row->ends != ParseResult::Run)
            return row->ends;
        if (row->flag) {
            row->flag(options);
            continue;
        }
        if (!hasInlineValue) {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return ParseResult::Error;
            }
            value = argv[++i];
        }
        if (!row->value(options, value)) {
            error = "bad value '" + std::string(value) + "' for " + std::string(arg);
            return ParseResult::Error;
        }
    }
    error = disagreement(options);
    return error.empty() ? ParseResult::Run : ParseResult::Error;
}
