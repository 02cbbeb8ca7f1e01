// Writes the fuzzer's starting corpus: a few small models made by the asset
// generator's 3DS writer. Argument: the corpus directory.
#include <cstdio>
#include <string>

#include "../asan/square_mesh.h"
#include "common/asset_file.h"

using assetgen::Mesh3ds;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: model_3ds_seeds CORPUS_DIR\n");
        return 2;
    }
    std::string dir = argv[1];
    assetgen::writeFile(dir + "/quad.3ds", assetgen::encode3ds({square("quad")}));
    assetgen::writeFile(dir + "/two.3ds", assetgen::encode3ds({square("a"), square("b", false)}));
    Mesh3ds grouped = square("groups");
    grouped.groups = {{"stone", {1}}, {"metal", {0, 1}}};
    assetgen::writeFile(dir + "/groups.3ds", assetgen::encode3ds({grouped}));
    Mesh3ds bare = square("bare", false);
    bare.groups.clear();
    assetgen::writeFile(dir + "/bare.3ds", assetgen::encode3ds({bare}));
    return 0;
}
