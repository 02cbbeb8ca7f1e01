// Coverage-guided fuzzing of the 3DS reader (libFuzzer). Built and run by
// `make fuzz`, never by the normal build. Besides the sanitizers' checks, a
// file that loads must leave a model that Draw can hand to GL safely.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gfx/model_3ds.h"

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkDrawable(const Model_3DS& model)
{
    require(model.numObjects == static_cast<int32_t>(model.Objects.size()));
    int64_t verts = 0, faces = 0;
    for (const Model_3DS::Object& object : model.Objects) {
        size_t n = static_cast<size_t>(object.numVerts);
        require(object.Vertexes.size() == 3 * n);
        require(object.Normals.size() == 3 * n);
        require(object.TexCoords.size() == 2 * n && object.numTexCoords == object.numVerts);
        require(object.Faces.size() == static_cast<size_t>(object.numFaces));
        require(object.MatFaces.size() == static_cast<size_t>(object.numMatFaces));
        for (uint16_t index : object.Faces)
            require(index < n);
        for (const Model_3DS::FaceGroup& group : object.MatFaces) {
            require(group.subFaces.size() == static_cast<size_t>(group.numSubFaces));
            for (uint16_t index : group.subFaces)
                require(index < n);
        }
        verts += object.numVerts;
        faces += object.numFaces / 3;
    }
    require(verts == model.totalVerts && faces == model.totalFaces);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Model_3DS model;
    std::string error;
    if (model.loadFromBytes(data, size, error))
        checkDrawable(model);
    else
        require(!error.empty() && model.Objects.empty());
    return 0;
}
