#include "common/model_3ds_writer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/asset_file.h"
#include "gfx/model_3ds_chunks.h"

namespace assetgen {

namespace {

using namespace chunk3ds;

constexpr size_t kMaxCount = 65535;

[[noreturn]] void fail(const Mesh3ds& mesh, const char* what)
{
    std::fprintf(stderr, "assetgen: 3DS object '%s': %s\n", mesh.name.c_str(), what);
    std::exit(1);
}

void check(const Mesh3ds& mesh)
{
    size_t vertices = mesh.vertexCount();
    size_t triangles = mesh.triangles.size() / 3;
    if (mesh.positions.size() % 3 != 0 || mesh.triangles.size() % 3 != 0)
        fail(mesh, "positions or triangles are not in threes");
    if (vertices > kMaxCount || triangles > kMaxCount)
        fail(mesh, "more than 65535 vertices or triangles");
    if (!mesh.uvs.empty() && mesh.uvs.size() != 2 * vertices)
        fail(mesh, "mapping coordinates do not match the vertices");
    if (mesh.name.size() >= 80)
        fail(mesh, "name longer than 79 bytes");
    for (uint16_t index : mesh.triangles)
        if (index >= vertices)
            fail(mesh, "a triangle uses a vertex that does not exist");
    for (const Mesh3ds::Group& group : mesh.groups) {
        if (group.triangles.size() > kMaxCount || group.material.size() >= 80)
            fail(mesh, "face group too large or material name too long");
        for (uint16_t t : group.triangles)
            if (t >= triangles)
                fail(mesh, "a face group lists a triangle that does not exist");
    }
}

void writeMesh(ChunkWriter& out, const Mesh3ds& mesh)
{
    out.begin(kObject);
    out.name(mesh.name);
    out.begin(kTriangleMesh);

    out.begin(kVertexList);
    out.u16(static_cast<uint16_t>(mesh.vertexCount()));
    for (float value : mesh.positions)
        out.f32(value);
    out.end();

    if (!mesh.uvs.empty()) {
        out.begin(kMappingCoords);
        out.u16(static_cast<uint16_t>(mesh.vertexCount()));
        for (float value : mesh.uvs)
            out.f32(value);
        out.end();
    }

    out.begin(kFaceList);
    out.u16(static_cast<uint16_t>(mesh.triangles.size() / 3));
    for (size_t i = 0; i < mesh.triangles.size(); i += 3) {
        out.u16(mesh.triangles[i]);
        out.u16(mesh.triangles[i + 1]);
        out.u16(mesh.triangles[i + 2]);
        out.u16(0x0007); // all three edges visible
    }
    for (const Mesh3ds::Group& group : mesh.groups) {
        out.begin(kFaceGroup);
        out.name(group.material);
        out.u16(static_cast<uint16_t>(group.triangles.size()));
        for (uint16_t t : group.triangles)
            out.u16(t);
        out.end();
    }
    out.end(); // face list

    out.end(); // triangle mesh
    out.end(); // object
}

} // namespace

void ChunkWriter::begin(uint16_t id)
{
    open_.push_back(bytes_.size());
    u16(id);
    u32(0); // filled in by end()
}

void ChunkWriter::end()
{
    size_t start = open_.back();
    open_.pop_back();
    uint32_t length = static_cast<uint32_t>(bytes_.size() - start);
    for (int i = 0; i < 4; ++i)
        bytes_[start + 2 + i] = static_cast<unsigned char>(length >> (8 * i));
}

void ChunkWriter::u16(uint16_t value)
{
    bytes_.push_back(static_cast<unsigned char>(value));
    bytes_.push_back(static_cast<unsigned char>(value >> 8));
}

void ChunkWriter::u32(uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes_.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void ChunkWriter::f32(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    u32(bits);
}

void ChunkWriter::name(const std::string& text)
{
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
}

uint16_t Mesh3ds::addVertex(float x, float y, float z, float u, float v)
{
    if (vertexCount() >= kMaxCount)
        fail(*this, "more than 65535 vertices");
    positions.insert(positions.end(), {x, y, z});
    uvs.insert(uvs.end(), {u, v});
    return static_cast<uint16_t>(vertexCount() - 1);
}

void Mesh3ds::addTriangle(uint16_t a, uint16_t b, uint16_t c)
{
    triangles.insert(triangles.end(), {a, b, c});
}

void Mesh3ds::groupAll(const std::string& material)
{
    Group group{material, {}};
    size_t count = triangles.size() / 3;
    if (count > kMaxCount)
        fail(*this, "more than 65535 triangles");
    for (size_t t = 0; t < count; ++t)
        group.triangles.push_back(static_cast<uint16_t>(t));
    groups.push_back(std::move(group));
}

std::vector<unsigned char> encode3ds(const std::vector<Mesh3ds>& meshes)
{
    ChunkWriter out;
    out.begin(kMain);
    out.begin(kEditor);
    std::vector<std::string> materials;
    for (const Mesh3ds& mesh : meshes) {
        check(mesh);
        for (const Mesh3ds::Group& group : mesh.groups) {
            bool known = false;
            for (const std::string& m : materials)
                known = known || m == group.material;
            if (!known)
                materials.push_back(group.material);
        }
    }
    for (const std::string& material : materials) {
        out.begin(kMaterial);
        out.begin(kMaterialName);
        out.name(material);
        out.end();
        out.end();
    }
    for (const Mesh3ds& mesh : meshes)
        writeMesh(out, mesh);
    out.end();
    out.end();
    return out.bytes();
}

void save3ds(const std::string& path, const std::vector<Mesh3ds>& meshes)
{
    writeFile(path, encode3ds(meshes));
}

} // namespace assetgen
