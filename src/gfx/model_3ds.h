// Model_3DS: the triangle meshes of a binary 3DS scene file, with smooth vertex
// normals, drawn through client-side vertex arrays. Materials, colours and
// texture names in the file are not used: callers bind textures and set lights.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/vec3.h"

class Model_3DS {
public:
    // One 0x4130 chunk: the triangles drawn with one material.
    struct FaceGroup {
        std::vector<uint16_t> subFaces; // three vertex indices per triangle, copied from Faces
        int32_t numSubFaces = 0;        // number of indices
        int32_t material = -1;          // never resolved: materials are not read
    };

    // One named object (0x4000 chunk).
    struct Object {
        char name[80] = {};
        std::vector<float> Vertexes;  // 3 per vertex, y up: a file vertex (x, y, z) is (x, z, -y)
        std::vector<float> Normals;   // 3 per vertex, unit length, or zero for unused vertices
        std::vector<float> TexCoords; // 2 per vertex
        std::vector<uint16_t> Faces;  // 3 per triangle
        int32_t numFaces = 0;         // entries of Faces (three per triangle)
        int32_t numMatFaces = 0;
        int32_t numVerts = 0;
        int32_t numTexCoords = 0;
        bool textured = false;        // the file gave mapping coordinates
        std::vector<FaceGroup> MatFaces;
        Vec3 pos;
        Vec3 rot;
    };

    // A material entry (0xAFFF chunk), counted but not read.
    struct Material {
        bool textured = false;
    };

    Model_3DS() = default;
    virtual ~Model_3DS() = default;

    // Reads the file. A name in double quotes loses them. A file that is missing
    // or malformed is logged and ends the program (exit code 1).
    void Load(const char* name);
    // The same, but a failure is logged and returned (false, with the reason)
    // instead of ending the program.
    bool tryLoad(const char* name, std::string& error);
    // Reads the model from a whole file held in memory; every read is checked
    // against its chunk and the buffer. On failure the model is left empty.
    // No GL, no log, no file access.
    bool loadFromBytes(const uint8_t* data, size_t size, std::string& error);

    // Draws every face group of every object; applyColor paints object 0 black
    // and the others a pale skin tone.
    void Draw(bool applyColor);

    std::string filename; // the name given to Load, quotes removed
    std::string path;     // its directory, with the last separator; empty without one
    int32_t numObjects = 0;
    int32_t numMaterials = 0;
    int32_t totalVerts = 0;
    int32_t totalFaces = 0;
    bool shownormals = false;
    std::vector<Material> Materials;
    std::vector<Object> Objects;
    Vec3 pos;
    Vec3 rot; // degrees about x, then y, then z
    float scale = 1.0f;
    bool lit = true;
    bool visible = true;
};

namespace model3ds {

// The name Load uses: a name holding double quotes keeps only its first
// non-empty run of characters between them.
std::string stripQuotes(const char* name);
// Everything up to and including the last '/' or '\\'; empty when there is none.
std::string directoryOf(const std::string& name);
// The log line of a model that cannot be loaded.
std::string failureLogLine(const std::string& file, const std::string& reason);

} // namespace model3ds
