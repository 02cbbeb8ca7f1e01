// The timeline script data/heaven.scpt: every marker at its built-in time,
// the accented names spelled in UTF-8.
#include <string>

#include "common/asset_file.h"
#include "timeline/marker_table.h"

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);
    std::string text;
    for (const MarkerDefinition& def : kMarkerDefinitions) {
        text += std::string(def.name) + ".start " + std::to_string(def.defaultStart) + "\n";
        text += std::string(def.name) + ".end " + std::to_string(def.defaultEnd) + "\n";
    }
    assetgen::writeFile(dirs.data + "/heaven.scpt", text);
    return 0;
}
