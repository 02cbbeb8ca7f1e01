#include "app/options.h"

#include <charconv>
#include <cstring>
#include <string_view>

const char* const kUsageLine =
    "usage: velmora [--go] [--mode WxH] [--aspect 16:10|16:9|full] [--windowed|--fullscreen]\n"
    "               [--antialias|--no-antialias] [--start MS] [--capture PATH] [--fps N]\n"
    "               [--from MS] [--to MS] [--timedemo] [--report FILE] [--dev] [--data DIR]\n"
    "               [--log FILE] [--help] [--version]\n";

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
    constexpr long long kMaxMs = 24LL * 3600 * 1000;
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
        auto takeValue = [&]() -> bool {
            if (hasInlineValue)
                return true;
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        auto bad = [&]() {
            error = "bad value '" + std::string(value) + "' for " + std::string(arg);
            return ParseResult::Error;
        };
        auto takeMs = [&](std::optional<int32_t>& out) {
            long long ms;
            if (!parseInt(value, 0, kMaxMs, ms))
                return false;
            out = static_cast<int32_t>(ms);
            return true;
        };
        bool flag = !hasInlineValue;
        if (arg == "--help" && flag)
            return ParseResult::Help;
        if (arg == "--version" && flag)
            return ParseResult::Version;
        if (arg == "--go" && flag) {
            options.go = true;
        } else if (arg == "--windowed" && flag) {
            options.fullscreen = false;
        } else if (arg == "--fullscreen" && flag) {
            options.fullscreen = true;
        } else if (arg == "--antialias" && flag) {
            options.antiAlias = true;
        } else if (arg == "--no-antialias" && flag) {
            options.antiAlias = false;
        } else if (arg == "--timedemo" && flag) {
            options.timedemo = true;
        } else if (arg == "--dev" && flag) {
            options.dev = true;
        } else if (arg == "--mode") {
            int w, h;
            if (!takeValue())
                return ParseResult::Error;
            if (!parseModeText(value, w, h))
                return bad();
            options.modeWidth = w;
            options.modeHeight = h;
        } else if (arg == "--aspect") {
            if (!takeValue())
                return ParseResult::Error;
            if (value == "16:10")
                options.aspect = 0;
            else if (value == "16:9")
                options.aspect = 1;
            else if (value == "full")
                options.aspect = 2;
            else
                return bad();
        } else if (arg == "--start" || arg == "--from" || arg == "--to") {
            std::optional<int32_t>& ms =
                arg == "--start" ? options.startMs : arg == "--from" ? options.fromMs : options.toMs;
            if (!takeValue())
                return ParseResult::Error;
            if (!takeMs(ms))
                return bad();
        } else if (arg == "--fps") {
            long long fps;
            if (!takeValue())
                return ParseResult::Error;
            if (!parseInt(value, 1, 1000, fps))
                return bad();
            options.fps = static_cast<int>(fps);
        } else if (arg == "--capture") {
            if (!takeValue())
                return ParseResult::Error;
            if (value.empty())
                return bad();
            options.capturePath = value;
        } else if (arg == "--report") {
            if (!takeValue())
                return ParseResult::Error;
            if (value.empty())
                return bad();
            options.reportPath = value;
        } else if (arg == "--data") {
            if (!takeValue())
                return ParseResult::Error;
            if (value.empty())
                return bad();
            options.dataDir = value;
        } else if (arg == "--log") {
            if (!takeValue())
                return ParseResult::Error;
            if (value.empty())
                return bad();
            options.logPath = value;
        } else {
            error = "unknown option '" + std::string(argv[i]) + "'";
            return ParseResult::Error;
        }
    }
    if (options.toMs && *options.toMs < firstShownMs(options)) {
        error = options.fromMs ? "--to comes before --from" : "--to comes before --start";
        return ParseResult::Error;
    }
    if (!options.capturePath.empty() && options.timedemo) {
        error = "--capture and --timedemo exclude each other";
        return ParseResult::Error;
    }
    if (options.dev && (options.timedemo || !options.capturePath.empty())) {
        error = "--dev needs the real-time show";
        return ParseResult::Error;
    }
    if (!options.reportPath.empty() && !options.timedemo) {
        error = "--report needs --timedemo";
        return ParseResult::Error;
    }
    return ParseResult::Run;
}
