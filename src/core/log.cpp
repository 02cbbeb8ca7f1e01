#include "core/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
FILE* gLog = nullptr;
void (*gFailureHook)() = nullptr;
}

bool openLog(const char* path)
{
    closeLog();
    gLog = std::fopen(path, "wb");
    return gLog != nullptr;
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
