// Tells when a file has changed, through inotify on the directory that holds
// it, so that an editor that writes a new file and renames it over the old
// one is seen as well as one that writes in place.
#pragma once
#include <string>

namespace platform {

class FileWatch {
public:
    FileWatch() = default;
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    // Starts watching path; false with a reason when the directory cannot be watched.
    bool start(const std::string& path, std::string& error);
    void stop();
    // True when the file was written, replaced, removed or had its rights
    // changed since the last call. Never waits.
    bool changed();

private:
    int fd = -1;
    std::string directory;
    std::string name;
};

} // namespace platform
