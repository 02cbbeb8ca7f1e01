#include "common/asset_file.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace assetgen {

void writeFile(const std::string& path, const std::string& bytes)
{
    std::filesystem::path p(path);
    std::error_code ec;
    std::filesystem::create_directories(p.parent_path(), ec);
    {
        std::ifstream old(path, std::ios::binary);
        if (old) {
            std::string previous((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>());
            if (previous == bytes) {
                // Touch it so that the build sees it as made.
                std::filesystem::last_write_time(p, std::filesystem::file_time_type::clock::now(), ec);
                return;
            }
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "assetgen: cannot write '%s'\n", path.c_str());
        std::exit(1);
    }
}

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

Dirs parseDirs(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR GEN_DIR\n", argv[0]);
        std::exit(2);
    }
    return {argv[1], argv[2]};
}

} // namespace assetgen
