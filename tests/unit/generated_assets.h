// Reading the generated data tree in tests: pictures as RGBA rows and models
// through the program's own loader.
#pragma once
#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gfx/model_3ds.h"

namespace generated {

const std::string kData = VELMORA_DATA_DIR;

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba; // rows top-down
    const unsigned char* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

inline Picture readPng(const std::string& file)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    EXPECT_TRUE(png_image_begin_read_from_file(&image, file.c_str())) << file;
    image.format = PNG_FORMAT_RGBA;
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) << file;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    return picture;
}

// A model from data/3D/.
inline Model_3DS loadModel(const std::string& name)
{
    Model_3DS model;
    std::string error;
    EXPECT_TRUE(model.tryLoad((kData + "/3D/" + name).c_str(), error)) << error;
    return model;
}

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
