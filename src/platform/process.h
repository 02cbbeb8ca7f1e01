// Child processes: the video encoder of a capture, fed through a pipe, and
// the workers of a capture split into parts, whose messages come back through one.
#pragma once
#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

struct PipedChild {
    pid_t pid = -1;
    FILE* input = nullptr; // the child's standard input
};

// Starts args[0] (looked up on PATH) with its standard input on a pipe. A
// child that dies makes later writes fail instead of killing this process.
// False with error when the pipe or the process cannot be made; a program
// that cannot be run exits 127 in the child.
bool startPipedChild(const std::vector<std::string>& args, PipedChild& child, std::string& error);

// Closes the pipe and waits for the child: its exit status, or -1 when it did
// not exit normally.
int finishPipedChild(PipedChild& child);

// A child whose standard error comes back through a pipe, read without blocking.
struct WatchedChild {
    pid_t pid = -1;
    int errors = -1; // the read end of its standard error; -1 once closed
};

// What a watched child runs: args[0] (looked up on PATH unless it holds a
// slash), with env's NAME=VALUE pairs added to this process's environment.
struct ChildRequest {
    std::vector<std::string> args;
    std::vector<std::string> env;
};

// Starts the child in a process group of its own, so that signals from the
// terminal reach only this process, which decides what the child gets. The
// child is killed when this process dies. False with error on failure.
bool startWatchedChild(const ChildRequest& request, WatchedChild& child, std::string& error);
// Asks the child alone to stop (SIGTERM), leaving it to end what it started.
void stopWatchedChild(const WatchedChild& child);
// Kills the child's process group: the child and whatever it started.
void killWatchedChild(const WatchedChild& child);
// Reaps the child if it has ended (waiting for it when wait is true): true once
// it has, with its exit status in status, or -1 when a signal ended it.
bool reapWatchedChild(WatchedChild& child, bool wait, int& status);

// From here on Ctrl-C and SIGTERM only raise a flag, read by interrupted().
void catchInterrupts();
bool interrupted();

} // namespace platform
