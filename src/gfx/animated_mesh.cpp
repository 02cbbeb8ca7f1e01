#include "gfx/animated_mesh.h"

#include <epoxy/gl.h>

#include <cmath>
#include <map>
#include <tuple>

#include "core/vec3.h"
#include "gfx/client_arrays.h"

namespace {

Vec3 framePosition(const float* table, int frameDataStart, int vertexCount, int k, int v)
{
    const float* p = table + frameDataStart + 3 * vertexCount * k + 3 * v;
    return {p[0], p[1], p[2]};
}

} // namespace

void AnimatedMesh::load(const float* source)
{
    release();
    const int F = static_cast<int>(source[0]);
    const int V = static_cast<int>(source[1]);
    const int K = static_cast<int>(source[2]) - 2;
    if (F < 0 || F > kMaxFaces || V < 0 || V > kMaxVertices || K < 1)
        return;
    for (int n = 0; n < 3 * F; ++n) {
        int w = static_cast<int>(source[3 + 3 * n]);
        if (w < 0 || w >= V)
            return; // a corner outside the vertex list: nothing to draw safely
    }

    table = source;
    faceCount = F;
    vertexCount = V;
    frameCount = K;
    frameDataStart = 3 + 9 * F;

    faceVertex.resize(3 * F);
    faceU.resize(3 * F);
    faceV.resize(3 * F);
    cornerUV.resize(6 * F);
    for (int n = 0; n < 3 * F; ++n) {
        faceVertex[n] = static_cast<int32_t>(table[3 + 3 * n]);
        faceU[n] = table[4 + 3 * n];
        faceV[n] = table[5 + 3 * n];
        cornerUV[2 * n] = faceU[n];
        cornerUV[2 * n + 1] = faceV[n];
    }

    // Walking the faces and their corners in order lists each vertex's faces
    // in increasing order, a face once per corner that names the vertex.
    vertexFaces.assign(V, {});
    for (int n = 0; n < 3 * F; ++n)
        vertexFaces[faceVertex[n]].push_back(n / 3);

    for (auto& axis : faceNormal)
        axis.resize(size_t(F) * K);
    for (int k = 0; k < K; ++k) {
        for (int f = 0; f < F; ++f) {
            Vec3 p0 = framePosition(table, frameDataStart, V, k, faceVertex[3 * f]);
            Vec3 p1 = framePosition(table, frameDataStart, V, k, faceVertex[3 * f + 1]);
            Vec3 p2 = framePosition(table, frameDataStart, V, k, faceVertex[3 * f + 2]);
            Vec3 n = cross(p0 - p1, p1 - p2);
            faceNormal[0][size_t(f) * K + k] = n.x;
            faceNormal[1][size_t(f) * K + k] = n.y;
            faceNormal[2][size_t(f) * K + k] = n.z;
        }
    }

    // The smooth normals: the plain average of the face normals around each
    // vertex, summed in list order. A vertex no face names keeps (0, 0, 0).
    vertexNormals.assign(size_t(K) * V * 3, 0.0f);
    for (int k = 0; k < K; ++k) {
        for (int v = 0; v < V; ++v) {
            const std::vector<int32_t>& faces = vertexFaces[v];
            if (faces.empty())
                continue;
            float sum[3] = {0.0f, 0.0f, 0.0f};
            for (int32_t f : faces)
                for (int j = 0; j < 3; ++j)
                    sum[j] += faceNormal[j][size_t(f) * K + k];
            float* out = &vertexNormals[(size_t(k) * V + v) * 3];
            for (int j = 0; j < 3; ++j)
                out[j] = sum[j] / static_cast<float>(faces.size());
        }
    }

    // What draw hands to GL per corner, so that a frame only blends positions.
    cornerFaceNormals.resize(size_t(K) * 9 * F);
    cornerSmoothNormals.resize(size_t(K) * 9 * F);
    for (int k = 0; k < K; ++k) {
        for (int n = 0; n < 3 * F; ++n) {
            float* flat = &cornerFaceNormals[(size_t(k) * 3 * F + n) * 3];
            float* smooth = &cornerSmoothNormals[(size_t(k) * 3 * F + n) * 3];
            const float* average = vertexNormal(k, faceVertex[n]);
            for (int j = 0; j < 3; ++j) {
                flat[j] = faceNormal[j][size_t(n / 3) * K + k];
                smooth[j] = average[j];
            }
        }
    }
    blended.resize(9 * size_t(F));

    // Corners alike in vertex and texture coordinate share one entry of the
    // smooth drawing: their position and normal are the same at every frame.
    std::map<std::tuple<int32_t, float, float>, uint32_t> shared;
    sharedIndex.resize(3 * size_t(F));
    for (int n = 0; n < 3 * F; ++n) {
        auto [entry, added] = shared.try_emplace({faceVertex[n], faceU[n], faceV[n]}, uint32_t(sharedVertex.size()));
        if (added) {
            sharedVertex.push_back(faceVertex[n]);
            sharedUV.insert(sharedUV.end(), {faceU[n], faceV[n]});
        }
        sharedIndex[n] = entry->second;
    }
    const size_t S = sharedVertex.size();
    sharedSmoothNormals.resize(size_t(K) * S * 3);
    for (int k = 0; k < K; ++k)
        for (size_t e = 0; e < S; ++e)
            for (int j = 0; j < 3; ++j)
                sharedSmoothNormals[(k * S + e) * 3 + j] = vertexNormal(k, sharedVertex[e])[j];
    sharedBlended.resize(3 * S);
}

void AnimatedMesh::setTime(float t)
{
    time = t;
    if (frameCount > 0 && std::trunc(t) >= frameCount)
        time = t - static_cast<float>(frameCount) * std::trunc(t / static_cast<float>(frameCount));
    if (std::trunc(time) < 0.0f)
        time = 0.0f;
}

void AnimatedMesh::blendCorners(float* out) const
{
    int i = static_cast<int>(time);
    if (i > frameCount - 1)
        i = frameCount - 1; // only a position beyond the float range gets here
    const float frac = time - static_cast<float>(i);
    const float* a = table + frameDataStart + 3 * vertexCount * i;
    const float* b = a + 3 * vertexCount;
    for (int n = 0; n < 3 * faceCount; ++n) {
        const int w = 3 * faceVertex[n];
        for (int j = 0; j < 3; ++j)
            out[3 * n + j] = a[w + j] + (b[w + j] - a[w + j]) * frac;
    }
}

void AnimatedMesh::blendShared(float* out) const
{
    int i = static_cast<int>(time);
    if (i > frameCount - 1)
        i = frameCount - 1;
    const float frac = time - static_cast<float>(i);
    const float* a = table + frameDataStart + 3 * vertexCount * i;
    const float* b = a + 3 * vertexCount;
    for (size_t e = 0; e < sharedVertex.size(); ++e) {
        const int w = 3 * sharedVertex[e];
        for (int j = 0; j < 3; ++j)
            out[3 * e + j] = a[w + j] + (b[w + j] - a[w + j]) * frac;
    }
}

const float* AnimatedMesh::cornerNormals(int k, bool smooth) const
{
    const std::vector<float>& normals = smooth ? cornerSmoothNormals : cornerFaceNormals;
    return &normals[size_t(k) * 9 * faceCount];
}

const float* AnimatedMesh::vertexNormal(int k, int v) const
{
    return &vertexNormals[(size_t(k) * vertexCount + v) * 3];
}

namespace {

// Byte offsets of the parts of the fixed buffer.
struct FixedLayout {
    size_t cornerUV, cornerFaceNormals, sharedUV, sharedSmoothNormals, end;
};

FixedLayout fixedLayout(size_t corners, size_t shared, size_t frames)
{
    FixedLayout l;
    l.cornerUV = 0;
    l.cornerFaceNormals = l.cornerUV + corners * 2 * sizeof(float);
    l.sharedUV = l.cornerFaceNormals + frames * corners * 3 * sizeof(float);
    l.sharedSmoothNormals = l.sharedUV + shared * 2 * sizeof(float);
    l.end = l.sharedSmoothNormals + frames * shared * 3 * sizeof(float);
    return l;
}

const GLvoid* offset(size_t bytes)
{
    return reinterpret_cast<const GLvoid*>(bytes);
}

} // namespace

void AnimatedMesh::uploadBuffers()
{
    const size_t corners = 3 * size_t(faceCount), shared = sharedVertex.size();
    const FixedLayout l = fixedLayout(corners, shared, frameCount);
    GLuint names[3];
    glGenBuffers(3, names);
    fixedBuffer = names[0];
    indexBuffer = names[1];
    positionBuffer = names[2];
    glBindBuffer(GL_ARRAY_BUFFER, fixedBuffer);
    glBufferData(GL_ARRAY_BUFFER, l.end, nullptr, GL_STATIC_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, l.cornerUV, cornerUV.size() * sizeof(float), cornerUV.data());
    glBufferSubData(GL_ARRAY_BUFFER, l.cornerFaceNormals, cornerFaceNormals.size() * sizeof(float),
                    cornerFaceNormals.data());
    glBufferSubData(GL_ARRAY_BUFFER, l.sharedUV, sharedUV.size() * sizeof(float), sharedUV.data());
    glBufferSubData(GL_ARRAY_BUFFER, l.sharedSmoothNormals, sharedSmoothNormals.size() * sizeof(float),
                    sharedSmoothNormals.data());
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    glBufferData(GL_ARRAY_BUFFER, blended.size() * sizeof(float), nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sharedIndex.size() * sizeof(uint32_t), sharedIndex.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void AnimatedMesh::draw(float position, int mode)
{
    setTime(position);
    if (faceCount == 0)
        return;
    if (fixedBuffer == 0)
        uploadBuffers();
    int i = static_cast<int>(time);
    if (i > frameCount - 1)
        i = frameCount - 1;
    const bool smooth = mode != 1;
    const size_t corners = 3 * size_t(faceCount), shared = sharedVertex.size();
    const FixedLayout l = fixedLayout(corners, shared, frameCount);

    // One draw from buffers gives the same vertices as sending them one call
    // at a time, at a fraction of the CPU. Other drawers expect no buffer bound.
    ClientArrays batch(true, true);
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    if (smooth) {
        blendShared(sharedBlended.data());
        glBufferSubData(GL_ARRAY_BUFFER, 0, sharedBlended.size() * sizeof(float), sharedBlended.data());
        glVertexPointer(3, GL_FLOAT, 0, offset(0));
        glBindBuffer(GL_ARRAY_BUFFER, fixedBuffer);
        glNormalPointer(GL_FLOAT, 0, offset(l.sharedSmoothNormals + size_t(i) * shared * 3 * sizeof(float)));
        glTexCoordPointer(2, GL_FLOAT, 0, offset(l.sharedUV));
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        glDrawElements(GL_TRIANGLES, GLsizei(corners), GL_UNSIGNED_INT, offset(0));
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    } else {
        blendCorners(blended.data());
        glBufferSubData(GL_ARRAY_BUFFER, 0, blended.size() * sizeof(float), blended.data());
        glVertexPointer(3, GL_FLOAT, 0, offset(0));
        glBindBuffer(GL_ARRAY_BUFFER, fixedBuffer);
        glNormalPointer(GL_FLOAT, 0, offset(l.cornerFaceNormals + size_t(i) * corners * 3 * sizeof(float)));
        glTexCoordPointer(2, GL_FLOAT, 0, offset(l.cornerUV));
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(corners));
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    // The normal and texture coordinate of the last corner stay current.
    const int last = 3 * faceCount - 1;
    glNormal3fv(cornerNormals(i, smooth) + 3 * last);
    glTexCoord2fv(&cornerUV[2 * last]);
}

void AnimatedMesh::release()
{
    if (fixedBuffer != 0) {
        const GLuint names[3] = {fixedBuffer, indexBuffer, positionBuffer};
        glDeleteBuffers(3, names);
        fixedBuffer = indexBuffer = positionBuffer = 0;
    }
    faceVertex = {};
    faceU = {};
    faceV = {};
    for (auto& axis : faceNormal)
        axis = {};
    vertexFaces = {};
    cornerUV = {};
    vertexNormals = {};
    cornerFaceNormals = {};
    cornerSmoothNormals = {};
    blended = {};
    sharedVertex = {};
    sharedUV = {};
    sharedSmoothNormals = {};
    sharedIndex = {};
    sharedBlended = {};
    faceCount = 0;
    vertexCount = 0;
    frameDataStart = 0;
    frameCount = 0;
    table = nullptr;
    time = 0.0f;
}
