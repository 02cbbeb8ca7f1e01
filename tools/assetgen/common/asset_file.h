// What every asset generator shares: writing its files where the build wants them.
#pragma once
#include <string>
#include <vector>

namespace assetgen {

// Writes bytes to path (making its directories), replacing the file only when
// the bytes differ. Exits with a message on failure.
void writeFile(const std::string& path, const std::string& bytes);
void writeFile(const std::string& path, const std::vector<unsigned char>& bytes);

// The two directories every generator is given: data/ and generated code.
struct Dirs {
    std::string data;
    std::string gen;
};
Dirs parseDirs(int argc, char** argv);

} // namespace assetgen
