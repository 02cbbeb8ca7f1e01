// AnimatedMesh: one textured triangle mesh carried inside the program as a
// table of floats, animated by blending the vertex positions of neighbouring
// key frames. The table reads:
//   [0] face count F, [1] vertex count V, [2] key frame count K plus 2,
//   then F faces of 9 floats (vertex index, u, v for each corner in order),
//   then K + 1 key frames of V positions (x, y, z); the last one is only read
//   when blending frame K - 1 towards the next.
#pragma once
#include <cstdint>
#include <vector>

class AnimatedMesh {
public:
    static constexpr int kMaxFaces = 65536;
    static constexpr int kMaxVertices = 65536;

    // Builds the face and vertex indexes and one normal per face and key frame.
    // The table is not copied and must outlive the mesh. A table past the
    // capacity, or without a key frame, leaves the mesh empty.
    void load(const float* table);
    // The frame position, wrapped into [0, K) from K on; positions between -1
    // and 0 are kept, lower ones become 0.
    void setTime(float t);
    // setTime(position), then every face as textured GL_TRIANGLES: mode 1 with
    // one normal per face, any other mode with one averaged normal per vertex.
    // Normals are not normalised. The caller sets matrices, texture, lights.
    void draw(float position, int mode);
    // Frees every array, and the buffer objects once drawn (then with the GL
    // context current); the mesh is empty again.
    void release();

    // The pieces of draw, GL-free.

    // Blended corner positions at the current time, three floats per corner in
    // face order: out holds 9 * faceCount floats.
    void blendCorners(float* out) const;
    // The normals draw sends per corner at key frame k (0 <= k < K), three
    // floats per corner in face order; smooth selects the per-vertex average.
    const float* cornerNormals(int k, bool smooth) const;
    // The smooth normal of vertex v at key frame k, as precomputed.
    const float* vertexNormal(int k, int v) const;
    // Blended positions of the shared corners of the smooth drawing.
    void blendShared(float* out) const;

    std::vector<int32_t> faceVertex; // 3 per face
    std::vector<float> faceU;        // 3 per face
    std::vector<float> faceV;        // 3 per face
    std::vector<float> faceNormal[3]; // x, y, z of face f at frame k: [f * K + k]
    // Per vertex, the faces naming it in increasing order, once per naming corner.
    std::vector<std::vector<int32_t>> vertexFaces;
    int32_t faceCount = 0;
    int32_t vertexCount = 0;
    int32_t frameDataStart = 0; // 3 + 9F: where the key frames begin
    const float* table = nullptr;
    float time = 0.0f;
    int32_t frameCount = 0; // K

private:
    // Built at load for the drawing: texture coordinates per corner, and per
    // key frame the per-vertex averages and both kinds of per-corner normals.
    std::vector<float> cornerUV;
    std::vector<float> vertexNormals;      // [(k * V + v) * 3 + j]
    std::vector<float> cornerFaceNormals;  // [(k * 3F + corner) * 3 + j]
    std::vector<float> cornerSmoothNormals; // same layout
    std::vector<float> blended;            // draw's scratch positions
    // The smooth drawing sends each distinct (vertex, u, v) once and indexes
    // it per corner, so that the driver lights each one once, not six times.
    std::vector<int32_t> sharedVertex;        // the mesh vertex of each shared corner
    std::vector<float> sharedUV;              // 2 per shared corner
    std::vector<float> sharedSmoothNormals;   // [(k * shared + s) * 3 + j]
    std::vector<uint32_t> sharedIndex;        // per corner, in face order
    std::vector<float> sharedBlended;         // draw's scratch positions
    // Buffer objects made on the first draw: everything but the positions
    // once, the positions rewritten each draw into storage kept from the
    // first, so that no draw allocates.
    unsigned int fixedBuffer = 0, indexBuffer = 0, positionBuffer = 0;
    void uploadBuffers();
};
