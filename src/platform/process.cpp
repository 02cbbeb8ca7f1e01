#include "platform/process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace platform {

bool startPipedChild(const std::vector<std::string>& args, PipedChild& child, std::string& error)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    std::vector<std::string> argv = args;
    std::vector<char*> pointers;
    for (std::string& a : argv)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);

    pid_t pid = fork();
    if (pid < 0) {
        error = "cannot start " + args.at(0) + ": " + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        dup2(fds[0], STDIN_FILENO);
        close(fds[0]);
        close(fds[1]);
        execvp(pointers[0], pointers.data());
        std::fprintf(stderr, "velmora: cannot run %s: %s\n", pointers[0], std::strerror(errno));
        _exit(127);
    }
    close(fds[0]);
    child.pid = pid;
    child.input = fdopen(fds[1], "wb");
    // A dead child must give a write error, not kill the show.
    std::signal(SIGPIPE, SIG_IGN);
    if (!child.input) {
        error = std::string("cannot write to ") + args.at(0) + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

int finishPipedChild(PipedChild& child)
{
    if (child.input)
        std::fclose(child.input);
    child.input = nullptr;
    int status = 0;
    if (child.pid <= 0 || waitpid(child.pid, &status, 0) != child.pid)
        return -1;
    child.pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace platform
