#include "core/log.h"

#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

struct {
    FILE* file = nullptr;
    void (*failureHook)() = nullptr;
    void (*messageBoxHook)(const char* caption, const char* text) = nullptr;
    std::string namedLog;
} state;


// The named log, or the first place that suits.
FILE* openShowLog()
{
    if (!state.namedLog.empty()) {
        FILE* file = std::fopen(state.namedLog.c_str(), "wb");
        if (!file)
            std::fprintf(stderr, "velmora: cannot write the log '%s' (%s); the show runs without one\n",
                         state.namedLog.c_str(), std::strerror(errno));
        return file;
    }
    if (access(".", W_OK) == 0)
        return std::fopen("debug_log.txt", "wb");
    std::string path = stateLogFile(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
    if (path.empty())
        return nullptr;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    return std::fopen(path.c_str(), "wb");
}
} // namespace

bool openLog(const char* path)
{
    closeLog();
    state.file = path ? std::fopen(path, "wb") : openShowLog();
    return state.file != nullptr;
}

void setLogFile(const std::string& path)
{
    state.namedLog = path;
}

std::string stateLogFile(const char* xdgStateHome, const char* home)
{
    // The base directory specification ignores a relative XDG_STATE_HOME.
    std::string base;
    if (xdgStateHome && xdgStateHome[0] == '/')
        base = xdgStateHome;
    else if (home && home[0] == '/')
        base = std::string(home) + "/.local/state";
    else
        return "";
    return base + "/velmora/debug_log.txt";
}

void logWrite(const char* format, ...)
{
    if (!state.file)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(state.file, format, args);
    va_end(args);
    // Flushed at once so that the log is whole even when the process dies.
    std::fflush(state.file);
}

void closeLog()
{
    if (state.file) {
        std::fclose(state.file);
        state.file = nullptr;
    }
}

void failAndExit(const char* cause, const char* boxCaption, const char* boxText)
{
    closeLog();
    if (boxCaption && state.messageBoxHook)
        state.messageBoxHook(boxCaption, boxText);
    std::fprintf(stderr, "velmora: %s\n", cause);
    if (state.failureHook)
        state.failureHook();
    std::exit(1);
}

void setFailureHook(void (*hook)())
{
    state.failureHook = hook;
}

void setMessageBoxHook(void (*hook)(const char* caption, const char* text))
{
    state.messageBoxHook = hook;
}
