#include "core/data_dir.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {
std::string gDataDir = "data";

bool isDirectory(const std::string& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}
} // namespace

std::vector<std::string> dataDirCandidates(const std::string& programPath)
{
    std::vector<std::string> places = {"data"};
    if (programPath.empty())
        return places;
    fs::path bin = fs::path(programPath).parent_path();
    places.push_back((bin / ".." / "share" / "velmora" / "data").lexically_normal().string());
    places.push_back((bin / "data").lexically_normal().string());
    return places;
}

DataDirChoice chooseDataDir(const std::string& option, const std::string& programPath, std::string& message)
{
    if (!option.empty()) {
        std::error_code error;
        fs::file_status status = fs::status(option, error);
        if (!fs::exists(status))
            message = "--data: no such directory '" + option + "'";
        else if (!fs::is_directory(status))
            message = "--data: '" + option + "' is not a directory";
        else if (access(option.c_str(), R_OK | X_OK) != 0)
            message = "--data: cannot read the directory '" + option + "'";
        else {
            gDataDir = option;
            while (gDataDir.size() > 1 && gDataDir.back() == '/')
                gDataDir.pop_back();
            return DataDirChoice::Found;
        }
        return DataDirChoice::BadOption;
    }
    std::vector<std::string> places = dataDirCandidates(programPath);
    for (const std::string& place : places) {
        if (isDirectory(place)) {
            gDataDir = place;
            return DataDirChoice::Found;
        }
    }
    message = "no data found; looked in ./data";
    for (size_t i = 1; i < places.size(); ++i)
        message += (i + 1 == places.size() ? " and " : ", ") + places[i];
    return DataDirChoice::NotFound;
}

const std::string& dataDir()
{
    return gDataDir;
}

std::string dataFile(const std::string& name)
{
    if (name.rfind("data/", 0) != 0)
        return name;
    return gDataDir + name.substr(4);
}

std::string ownProgramPath()
{
    std::error_code error;
    fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}
