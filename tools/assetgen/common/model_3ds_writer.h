// Writing 3DS scene files: named triangle meshes with vertices, mapping
// coordinates, faces and face groups, the parts the show's loader reads.
// Shared by every model generator.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// Chunks written one inside the other: begin() opens one, end() closes the
// innermost and fills in its length.
class ChunkWriter {
public:
    void begin(uint16_t id);
    void end();
    void u16(uint16_t value);
    void u32(uint32_t value);
    void f32(float value);
    void name(const std::string& text); // with its NUL
    const std::vector<unsigned char>& bytes() const { return bytes_; }

private:
    std::vector<unsigned char> bytes_;
    std::vector<size_t> open_;
};

// One named object, in the file's own axes (z up for a model drawn y-up).
struct Mesh3ds {
    struct Group {
        std::string material;
        std::vector<uint16_t> triangles; // triangle numbers
    };
    std::string name;
    std::vector<float> positions;     // x, y, z per vertex
    std::vector<float> uvs;           // u, v per vertex; empty for none
    std::vector<uint16_t> triangles;  // three vertex indices per triangle, counter-clockwise seen from outside
    std::vector<Group> groups;        // only grouped triangles are drawn

    // Appends a vertex and returns its index.
    uint16_t addVertex(float x, float y, float z, float u, float v);
    void addTriangle(uint16_t a, uint16_t b, uint16_t c);
    // One group named material holding every triangle.
    void groupAll(const std::string& material);
    size_t vertexCount() const { return positions.size() / 3; }
};

// The file's bytes: 0x4D4D holding 0x3D3D with one material entry per
// material name and one 0x4000 object per mesh. Exits with a message when a
// mesh breaks the format's limits (65535 vertices or triangles per object).
std::vector<unsigned char> encode3ds(const std::vector<Mesh3ds>& meshes);
void save3ds(const std::string& path, const std::vector<Mesh3ds>& meshes);

} // namespace assetgen
