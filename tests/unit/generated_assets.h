// Reading the generated data tree in tests: pictures as RGBA rows and models
// through the program's own loader.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/model_3ds.h"
#include "gfx/picture_decoder.h"

namespace generated {

const std::string kData = VELMORA_DATA_DIR;

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba; // rows top-down
    const unsigned char* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

// Any picture the program reads (PNG or JPEG), decoded by the program's own decoder.
inline Picture readPicture(const std::string& file)
{
    DecodedPicture decoded;
    Picture picture;
    if (decodePictureFile(file.c_str(), decoded)) {
        picture.width = decoded.width;
        picture.height = decoded.height;
        picture.rgba.resize(decoded.rgba.size());
        size_t row = static_cast<size_t>(picture.width) * 4;
        for (int y = 0; y < picture.height; ++y) // the decoder gives the rows bottom-up
            std::memcpy(&picture.rgba[y * row], &decoded.rgba[(picture.height - 1 - y) * row], row);
    }
    EXPECT_FALSE(picture.rgba.empty()) << file;
    return picture;
}

// The alpha of every texel along the picture's four edges, summed.
inline int borderAlphaSum(const Picture& p)
{
    int sum = 0;
    for (int k = 0; k < p.width; ++k)
        sum += p.at(k, 0)[3] + p.at(k, p.height - 1)[3] + p.at(0, k)[3] + p.at(p.width - 1, k)[3];
    return sum;
}

// A model from data/3D/.
inline Model_3DS loadModel(const std::string& name)
{
    Model_3DS model;
    std::string error;
    EXPECT_TRUE(model.tryLoad((kData + "/3D/" + name).c_str(), error)) << error;
    return model;
}

// Extents of objects [first, last) on each loaded axis.
struct Bounds {
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    Bounds(const Model_3DS& model, int first, int last)
    {
        for (int o = first; o < last; ++o)
            for (int i = 0; i < 3 * model.Objects[o].numVerts; ++i) {
                lo[i % 3] = std::min(lo[i % 3], model.Objects[o].Vertexes[i]);
                hi[i % 3] = std::max(hi[i % 3], model.Objects[o].Vertexes[i]);
            }
    }
    float size(int k) const { return hi[k] - lo[k]; }
    float centre(int k) const { return (hi[k] + lo[k]) / 2; }
};

// Every object drawable and fully mapped into the texture.
inline void expectMapped(const Model_3DS& model)
{
    for (const Model_3DS::Object& object : model.Objects) {
        EXPECT_TRUE(object.textured && object.numMatFaces >= 1 && object.numFaces > 0) << object.name;
        EXPECT_TRUE(std::all_of(object.TexCoords.begin(), object.TexCoords.end(),
                                [](float t) { return t >= 0.0f && t <= 1.0f; }))
            << object.name;
    }
}

} // namespace generated
