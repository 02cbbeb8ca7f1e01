// Child processes fed through a pipe (the video encoder of a capture).
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

} // namespace platform
