// The small model the 3DS reader's tests and the fuzzer's seeds start from.
#pragma once
#include <string>

#include "common/model_3ds_writer.h"

// A unit square in the file's xy plane: two triangles sharing the diagonal 0-2,
// both in the group "stone"; with mapping coordinates unless `mapped` is false.
inline assetgen::Mesh3ds square(const std::string& name = "square", bool mapped = true)
{
    assetgen::Mesh3ds mesh;
    mesh.name = name;
    mesh.addVertex(0, 0, 0, 0.0f, 0.0f);
    mesh.addVertex(1, 0, 0, 1.0f, 0.0f);
    mesh.addVertex(1, 1, 0, 1.0f, 1.0f);
    mesh.addVertex(0, 1, 0, 0.0f, 1.0f);
    mesh.addTriangle(0, 1, 2);
    mesh.addTriangle(0, 2, 3);
    mesh.groupAll("stone");
    if (!mapped)
        mesh.uvs.clear();
    return mesh;
}
