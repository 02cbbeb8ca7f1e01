// Writes the fuzzer's starting corpus: a few small models made by the asset
// generator's 3DS writer. Argument: the corpus directory.
#include <cstdio>
#include <string>

#include "common/asset_file.h"
#include "common/model_3ds_writer.h"

using assetgen::Mesh3ds;

namespace {

Mesh3ds quad(const char* name, bool mapped)
{
    Mesh3ds mesh;
    mesh.name = name;
    mesh.addVertex(0, 0, 0, 0, 0);
    mesh.addVertex(1, 0, 0, 1, 0);
    mesh.addVertex(1, 1, 0, 1, 1);
    mesh.addVertex(0, 1, 1, 0, 1);
    mesh.addTriangle(0, 1, 2);
    mesh.addTriangle(0, 2, 3);
    mesh.groupAll("stone");
    if (!mapped)
        mesh.uvs.clear();
    return mesh;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: model_3ds_seeds CORPUS_DIR\n");
        return 2;
    }
    std::string dir = argv[1];
    assetgen::writeFile(dir + "/quad.3ds", assetgen::encode3ds({quad("quad", true)}));
    assetgen::writeFile(dir + "/two.3ds", assetgen::encode3ds({quad("a", true), quad("b", false)}));
    Mesh3ds grouped = quad("groups", true);
    grouped.groups = {{"stone", {1}}, {"metal", {0, 1}}};
    assetgen::writeFile(dir + "/groups.3ds", assetgen::encode3ds({grouped}));
    Mesh3ds bare = quad("bare", false);
    bare.groups.clear();
    assetgen::writeFile(dir + "/bare.3ds", assetgen::encode3ds({bare}));
    return 0;
}
