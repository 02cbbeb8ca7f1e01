#include "core/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

struct {
    FILE* file = nullptr;
    void (*failureHook)() = nullptr;
    void (*messageBoxHook)(const char* caption, const char* text) = nullptr;
} state;

} // namespace

bool openLog(const char* path)
{
    closeLog();
    state.file = std::fopen(path, "wb");
    return state.file != nullptr;
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
