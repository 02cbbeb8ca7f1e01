#include "platform/process.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

struct {
    std::atomic<bool> interrupted{false}; // set by the signal handler, so lock-free
} state;

void raiseInterrupt(int)
{
    state.interrupted = true;
}

// argv for exec: pointers into args, which must outlive them.
std::vector<char*> argvOf(std::vector<std::string>& args)
{
    std::vector<char*> pointers;
    for (std::string& a : args)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

bool startPipedChild(const std::vector<std::string>& args, PipedChild& child, std::string& error)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    std::vector<std::string> argv = args;
    std::vector<char*> pointers = argvOf(argv);

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

bool startWatchedChild(const ChildRequest& request, WatchedChild& child, std::string& error)
{
    int fds[2];
    // Close-on-exec, so that a later child holds no copy and each pipe ends with its own child.
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    std::vector<std::string> argv = request.args;
    std::vector<char*> pointers = argvOf(argv);
    const pid_t parent = getpid();

    pid_t pid = fork();
    if (pid < 0) {
        error = "cannot start " + request.args.at(0) + ": " + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) // the parent died before the line above
            _exit(1);
        dup2(fds[1], STDERR_FILENO);
        for (const std::string& pair : request.env)
            putenv(const_cast<char*>(pair.c_str()));
        execvp(pointers[0], pointers.data());
        std::fprintf(stderr, "velmora: cannot run %s: %s\n", pointers[0], std::strerror(errno));
        _exit(127);
    }
    // Also from here, so that a kill sent right away finds the group.
    setpgid(pid, pid);
    close(fds[1]);
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    child.pid = pid;
    child.errors = fds[0];
    return true;
}

void stopWatchedChild(const WatchedChild& child)
{
    if (child.pid > 0)
        ::kill(child.pid, SIGTERM);
}

void killWatchedChild(const WatchedChild& child)
{
    if (child.pid > 0)
        ::kill(-child.pid, SIGKILL);
}

bool reapWatchedChild(WatchedChild& child, bool wait, int& status)
{
    if (child.pid <= 0)
        return true;
    int raw = 0;
    pid_t got;
    do
        got = waitpid(child.pid, &raw, wait ? 0 : WNOHANG);
    while (got < 0 && errno == EINTR);
    if (got == 0)
        return false;
    status = got == child.pid && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    child.pid = -1;
    return true;
}

void catchInterrupts()
{
    struct sigaction action = {};
    action.sa_handler = raiseInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool interrupted()
{
    return state.interrupted;
}

} // namespace platform
