// The command line.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Options {
    bool go = false;
    std::optional<int> modeWidth, modeHeight;
    std::optional<int> aspect;     // 0, 1 or 2
    std::optional<bool> fullscreen;
    std::optional<bool> antiAlias;
    std::optional<int32_t> startMs;
    std::string capturePath;       // a directory, or a .mp4 / .mkv file
    int fps = 60;
    std::optional<int32_t> fromMs, toMs;
    bool timedemo = false;
    std::string reportPath;
    bool dev = false;              // reload the timeline script when it changes
    std::string dataDir;           // --data: the data tree, instead of looking for one
    std::string logPath;           // --log: the log file, instead of debug_log.txt
    std::optional<int> jobs;       // a capture rendered in this many processes
};

enum class ParseResult { Run, Help, Version, Error };

// Fills options from argv; on Error, error says what was wrong.
ParseResult parseOptions(int argc, const char* const* argv, Options& options, std::string& error);

// The music time of the first frame: --from, else --start, else 0.
int32_t firstShownMs(const Options& options);

// Reads "WIDTHxHEIGHT" (each 1 to 16384); false for anything else.
bool parseModeText(std::string_view text, int& width, int& height);

// The command line less the options named (with their values), in its own
// order and spelling; argv must be one that parseOptions read without error.
std::vector<std::string> argumentsWithout(int argc, const char* const* argv,
                                          const std::vector<std::string_view>& names);

// True when the capture goes to a video file rather than a directory of frames.
bool captureIsVideo(const std::string& path);

extern const char* const kUsageLine;
extern const char* const kHelpText;
