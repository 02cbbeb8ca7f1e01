// Reading a 3DS file held in memory into a Model_3DS. Pure: no GL, no files, no
// log, so tests and the fuzzer run it as it is. Every read is checked against the
// end of its chunk, and every chunk against the end of its parent and the buffer.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "gfx/model_3ds.h"
#include "gfx/model_3ds_chunks.h"

namespace {

using namespace chunk3ds;

constexpr size_t kHeaderSize = 6;  // 16-bit identifier, 32-bit length
constexpr size_t kMaxNameBytes = 80; // names are at most 80 bytes with their NUL

struct Chunk {
    uint16_t id;
    size_t start;   // its header
    size_t content; // right after the header
    size_t end;     // start + length
};

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    const std::string& error() const { return error_; }

    bool fail(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        char text[256];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        error_ = text;
        return false;
    }

    // True when count items of itemSize bytes fit between pos and end.
    static bool fits(size_t pos, size_t end, size_t count, size_t itemSize)
    {
        return pos <= end && count <= (end - pos) / itemSize;
    }

    uint16_t u16(size_t pos) const { return static_cast<uint16_t>(data_[pos] | (data_[pos + 1] << 8)); }
    uint32_t u32(size_t pos) const
    {
        return static_cast<uint32_t>(data_[pos]) | static_cast<uint32_t>(data_[pos + 1]) << 8 |
               static_cast<uint32_t>(data_[pos + 2]) << 16 | static_cast<uint32_t>(data_[pos + 3]) << 24;
    }
    float f32(size_t pos) const
    {
        uint32_t bits = u32(pos);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // The chunk whose header is at pos, which must lie whole before end.
    bool header(size_t pos, size_t end, Chunk& chunk)
    {
        if (!fits(pos, end, 1, kHeaderSize))
            return fail("the chunk header at byte %zu runs past the end of its parent (byte %zu)", pos, end);
        uint32_t length = u32(pos + 2);
        chunk = {u16(pos), pos, pos + kHeaderSize, pos + length};
        if (length < kHeaderSize)
            return fail("chunk 0x%04X at byte %zu has an impossible length of %u bytes", chunk.id, pos, length);
        if (length > end - pos)
            return fail("chunk 0x%04X at byte %zu (%u bytes) runs past the end of its parent (byte %zu)", chunk.id,
                        pos, length, end);
        return true;
    }

    // The chunks lying one after another from pos to end.
    bool children(size_t pos, size_t end, std::vector<Chunk>& out)
    {
        out.clear();
        while (pos < end) {
            Chunk chunk{};
            if (!header(pos, end, chunk))
                return false;
            out.push_back(chunk);
            pos = chunk.end;
        }
        return true;
    }

    // A NUL-terminated name of at most 80 bytes starting at pos; pos moves past its NUL.
    bool name(size_t& pos, size_t end, char (&out)[kMaxNameBytes], const char* what)
    {
        size_t limit = end - pos < kMaxNameBytes ? end - pos : kMaxNameBytes;
        const void* nul = std::memchr(data_ + pos, 0, limit);
        if (!nul)
            return fail("the %s at byte %zu has no end within %zu bytes", what, pos, limit);
        size_t length = static_cast<const uint8_t*>(nul) - (data_ + pos);
        std::memcpy(out, data_ + pos, length + 1);
        pos += length + 1;
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    std::string error_;
};

// A 16-bit count at the start of a chunk's content, followed by count items of
// itemSize bytes that must lie inside the chunk.
bool readCount(Reader& in, const Chunk& chunk, size_t itemSize, const char* what, uint16_t& count)
{
    if (!Reader::fits(chunk.content, chunk.end, 1, 2))
        return in.fail("the %s at byte %zu has no room for its count", what, chunk.start);
    count = in.u16(chunk.content);
    if (!Reader::fits(chunk.content + 2, chunk.end, count, itemSize))
        return in.fail("the %s at byte %zu holds %u entries but has room for %zu", what, chunk.start, count,
                       (chunk.end - chunk.content - 2) / itemSize);
    return true;
}

void clearGeometry(Model_3DS::Object& object)
{
    Model_3DS::Object empty;
    std::memcpy(empty.name, object.name, sizeof empty.name);
    object = std::move(empty);
}

// Vertices become y-up: the file's z is y, and its y, negated, is z.
bool readVertexList(Reader& in, const Chunk& chunk, Model_3DS::Object& object)
{
    uint16_t n;
    if (!readCount(in, chunk, 12, "vertex list", n))
        return false;
    object.Vertexes.resize(3u * n);
    for (size_t i = 0; i < n; ++i) {
        size_t at = chunk.content + 2 + 12 * i;
        object.Vertexes[3 * i + 0] = in.f32(at);
        object.Vertexes[3 * i + 1] = in.f32(at + 8);
        object.Vertexes[3 * i + 2] = -in.f32(at + 4);
    }
    object.Normals.assign(3u * n, 0.0f);
    object.numVerts = n;
    return true;
}

bool readMappingCoords(Reader& in, const Chunk& chunk, Model_3DS::Object& object)
{
    uint16_t n;
    if (!readCount(in, chunk, 8, "mapping coordinate list", n))
        return false;
    object.TexCoords.resize(2u * n);
    for (size_t i = 0; i < 2u * n; ++i)
        object.TexCoords[i] = in.f32(chunk.content + 2 + 4 * i);
    object.numTexCoords = n;
    object.textured = true;
    return true;
}

Vec3 vertexAt(const Model_3DS::Object& object, size_t index)
{
    return {object.Vertexes[3 * index], object.Vertexes[3 * index + 1], object.Vertexes[3 * index + 2]};
}

// The face list, its normals and its face groups.
bool readFaceList(Reader& in, const Chunk& chunk, Model_3DS::Object& object)
{
    uint16_t f;
    if (!readCount(in, chunk, 8, "face list", f))
        return false;
    // A second face list in one mesh replaces the first.
    object.Faces.resize(3u * f);
    object.numFaces = 3 * f;
    object.Normals.assign(object.Normals.size(), 0.0f);
    object.MatFaces.clear();
    object.numMatFaces = 0;
    for (size_t i = 0; i < f; ++i) {
        size_t at = chunk.content + 2 + 8 * i;
        for (size_t k = 0; k < 3; ++k) {
            uint16_t index = in.u16(at + 2 * k);
            if (index >= object.numVerts)
                return in.fail("triangle %zu of the face list at byte %zu uses vertex %u of %d", i, chunk.start,
                               index, object.numVerts);
            object.Faces[3 * i + k] = index;
        }
        // (B - C) x (B - A), not normalised: larger faces weigh more.
        uint16_t a = object.Faces[3 * i], b = object.Faces[3 * i + 1], c = object.Faces[3 * i + 2];
        Vec3 u = vertexAt(object, b) - vertexAt(object, c);
        Vec3 v = vertexAt(object, b) - vertexAt(object, a);
        Vec3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
        for (uint16_t vertex : {a, b, c}) {
            object.Normals[3 * vertex + 0] += n.x;
            object.Normals[3 * vertex + 1] += n.y;
            object.Normals[3 * vertex + 2] += n.z;
        }
    }

    std::vector<Chunk> groups;
    if (!in.children(chunk.content + 2 + 8u * f, chunk.end, groups))
        return false;
    for (const Chunk& group : groups)
        if (group.id == kFaceGroup)
            ++object.numMatFaces;
    object.MatFaces.reserve(object.numMatFaces);
    for (const Chunk& group : groups) {
        if (group.id != kFaceGroup)
            continue;
        char material[kMaxNameBytes];
        size_t pos = group.content;
        if (!in.name(pos, group.end, material, "material name of a face group"))
            return false;
        Chunk counted{group.id, group.start, pos, group.end};
        uint16_t g;
        if (!readCount(in, counted, 2, "face group", g))
            return false;
        Model_3DS::FaceGroup faces;
        faces.subFaces.resize(3u * g);
        faces.numSubFaces = 3 * g;
        for (size_t i = 0; i < g; ++i) {
            uint16_t triangle = in.u16(pos + 2 + 2 * i);
            if (triangle >= f)
                return in.fail("the face group at byte %zu lists triangle %u of %u", group.start, triangle, f);
            std::memcpy(&faces.subFaces[3 * i], &object.Faces[3u * triangle], 3 * sizeof(uint16_t));
        }
        object.MatFaces.push_back(std::move(faces));
    }
    return true;
}

// A triangle mesh. Vertices and mapping coordinates come first, so that the
// face list can be checked against them wherever it lies in the chunk.
bool readMesh(Reader& in, const Chunk& chunk, Model_3DS::Object& object)
{
    clearGeometry(object); // a later mesh of the same object replaces an earlier one
    std::vector<Chunk> parts;
    if (!in.children(chunk.content, chunk.end, parts))
        return false;
    for (const Chunk& part : parts) {
        if (part.id == kVertexList && !readVertexList(in, part, object))
            return false;
        if (part.id == kMappingCoords && !readMappingCoords(in, part, object))
            return false;
    }
    if (object.textured && object.numTexCoords != object.numVerts)
        return in.fail("the mesh at byte %zu has %d mapping coordinates for %d vertices", chunk.start,
                       object.numTexCoords, object.numVerts);
    for (const Chunk& part : parts)
        if (part.id == kFaceList && !readFaceList(in, part, object))
            return false;
    return true;
}

bool readObject(Reader& in, const Chunk& chunk, Model_3DS::Object& object)
{
    size_t pos = chunk.content;
    if (!in.name(pos, chunk.end, object.name, "object name"))
        return false;
    std::vector<Chunk> parts;
    if (!in.children(pos, chunk.end, parts))
        return false;
    for (const Chunk& part : parts)
        if (part.id == kTriangleMesh && !readMesh(in, part, object))
            return false;
    return true;
}

bool readEditor(Reader& in, const Chunk& chunk, Model_3DS& model)
{
    std::vector<Chunk> parts;
    if (!in.children(chunk.content, chunk.end, parts))
        return false;
    model.numObjects = 0;
    model.numMaterials = 0;
    for (const Chunk& part : parts) {
        if (part.id == kObject)
            ++model.numObjects;
        if (part.id == kMaterial)
            ++model.numMaterials;
    }
    model.Materials.assign(model.numMaterials, Model_3DS::Material{});
    model.Objects.assign(model.numObjects, Model_3DS::Object{});
    size_t k = 0;
    for (const Chunk& part : parts)
        if (part.id == kObject && !readObject(in, part, model.Objects[k++]))
            return false;
    return true;
}

void finishObject(Model_3DS::Object& object)
{
    for (int32_t i = 0; i < object.numVerts; ++i) {
        Vec3 n{object.Normals[3 * i], object.Normals[3 * i + 1], object.Normals[3 * i + 2]};
        float length = n.length();
        if (length == 0.0f)
            length = 1.0f; // an unused vertex keeps its zero normal
        object.Normals[3 * i + 0] = n.x / length;
        object.Normals[3 * i + 1] = n.y / length;
        object.Normals[3 * i + 2] = n.z / length;
    }
    // Untextured meshes get a planar projection along z.
    if (object.numTexCoords == 0) {
        object.TexCoords.resize(2u * object.numVerts);
        for (int32_t i = 0; i < object.numVerts; ++i) {
            object.TexCoords[2 * i] = object.Vertexes[3 * i];
            object.TexCoords[2 * i + 1] = object.Vertexes[3 * i + 1];
        }
        object.numTexCoords = object.numVerts;
    }
}

} // namespace

bool Model_3DS::loadFromBytes(const uint8_t* data, size_t size, std::string& error)
{
    numObjects = numMaterials = totalVerts = totalFaces = 0;
    Materials.clear();
    Objects.clear();

    Reader in(data, size);
    Chunk top{};
    std::vector<Chunk> parts;
    bool ok = in.header(0, size, top) && in.children(top.content, top.end, parts);
    for (size_t i = 0; ok && i < parts.size(); ++i)
        if (parts[i].id == kEditor)
            ok = readEditor(in, parts[i], *this);
    if (!ok) {
        error = in.error();
        numObjects = numMaterials = 0;
        Materials.clear();
        Objects.clear();
        return false;
    }
    for (Object& object : Objects) {
        finishObject(object);
        totalFaces += object.numFaces / 3;
        totalVerts += object.numVerts;
    }
    return true;
}

namespace model3ds {

std::string stripQuotes(const char* name)
{
    std::string s = name;
    if (s.find('"') == std::string::npos)
        return s;
    size_t begin = s.find_first_not_of('"');
    if (begin == std::string::npos)
        return "";
    size_t end = s.find('"', begin);
    return s.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::string directoryOf(const std::string& name)
{
    size_t last = name.find_last_of("/\\");
    return last == std::string::npos ? std::string() : name.substr(0, last + 1);
}

std::string failureLogLine(const std::string& file, const std::string& reason)
{
    return " -> 3DS LOADER :: '" + file + "' cannot be loaded: " + reason + ". \n";
}

} // namespace model3ds
