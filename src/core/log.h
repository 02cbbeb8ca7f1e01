// The diagnostic log, debug_log.txt in the working directory. Every write
// first tests that the log is open; a log that could not be opened changes
// nothing else.
#pragma once
#include <string>

// Opens (truncating) the log at path; false when it cannot be opened. With no
// path it opens the show's log: the file named by setLogFile, else
// debug_log.txt in the working directory when that is writable, else in the
// user's state directory ($XDG_STATE_HOME/velmora, by default ~/.local/state/velmora).
bool openLog(const char* path = nullptr);
// The file --log names ("" for none). When it cannot be opened the show goes
// on without a log and says so once on stderr.
void setLogFile(const std::string& path);
// Where the show's log goes when none is named and the working directory is
// not writable; "" when neither variable gives a place.
std::string stateLogFile(const char* xdgStateHome, const char* home);
void logWrite(const char* format, ...) __attribute__((format(printf, 1, 2)));
void closeLog();

// The section lines.
constexpr const char* kLogInitHeader = "\n -- Intro and effects initialisations --  \n \n";
constexpr const char* kLogDemoStarts = "\n -- Demo starts -- \n\n";
constexpr const char* kLogDemoEnds = " -- Demo ends -- \n\n";

// A failure that ends the program (exit code 1): the caller has written its log
// line; this closes the log, shows the message box when one is given (through
// the box hook), names the cause on stderr, runs the exit hook (which restores
// the desktop) and exits.
[[noreturn]] void failAndExit(const char* cause, const char* boxCaption = nullptr, const char* boxText = nullptr);
// What failAndExit runs last; set by the entry once the platform is up.
void setFailureHook(void (*hook)());
// How failAndExit shows a message box; set by the entry with the platform's.
void setMessageBoxHook(void (*hook)(const char* caption, const char* text));
