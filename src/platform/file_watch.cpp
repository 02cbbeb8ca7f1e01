#include "platform/file_watch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

FileWatch::~FileWatch()
{
    stop();
}

bool FileWatch::start(const std::string& path, std::string& error)
{
    stop();
    size_t slash = path.rfind('/');
    directory = slash == std::string::npos ? "." : path.substr(0, slash);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
    fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    // A file written in place ends with a close; a replaced one arrives by a
    // rename or, as a link or a directory, by a create.
    const uint32_t events = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_CREATE | IN_ATTRIB;
    if (inotify_add_watch(fd, directory.c_str(), events) < 0) {
        error = directory + ": " + std::strerror(errno);
        stop();
        return false;
    }
    return true;
}

void FileWatch::stop()
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

bool FileWatch::changed()
{
    if (fd < 0)
        return false;
    bool hit = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break; // EAGAIN: nothing more waiting
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->len == 0 || name != event->name)
                continue;
            if (event->mask & IN_CREATE) {
                // A plain file being created is still being written: its close follows.
                struct stat info {};
                std::string path = directory + "/" + name;
                if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
                    continue;
            }
            hit = true;
        }
    }
    return hit;
}

} // namespace platform
