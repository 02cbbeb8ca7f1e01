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
FILE* gLog = nullptr;
void (*gFailureHook)() = nullptr;
std::string gNamedLog;

// The named log, or the first place that suits.
FILE* openShowLog()
{
    if (!gNamedLog.empty()) {
        FILE* file = std::fopen(gNamedLog.c_str(), "wb");
        if (!file)
            std::fprintf(stderr, "velmora: cannot write the log '%s' (%s); the show runs without one\n",
                         gNamedLog.c_str(), std::strerror(errno));
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
    gLog = path ? std::fopen(path, "wb") : openShowLog();
    return gLog != nullptr;
}

void setLogFile(const std::string& path)
{
    gNamedLog = path;
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
    if (!gLog)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(gLog, format, args);
    va_end(args);
    // Flushed at once so that the log is whole even when the process dies.
    std::fflush(gLog);
}

void closeLog()
{
    if (gLog) {
        std::fclose(gLog);
        gLog = nullptr;
    }
}

void failAndExit(const char* cause)
{
    closeLog();
    std::fprintf(stderr, "velmora: %s\n", cause);
    if (gFailureHook)
        gFailureHook();
    std::exit(1);
}

void setFailureHook(void (*hook)())
{
    gFailureHook = hook;
}
