#include "common/normal_map.h"

#include <algorithm>
#include <cmath>

#include "common/paint.h"

namespace assetgen {

float HeightField::sample(int x, int y) const
{
    if (wraps) {
        x = (x % width + width) % width;
        y = (y % height + height) % height;
    } else {
        x = std::clamp(x, 0, width - 1);
        y = std::clamp(y, 0, height - 1);
    }
    return h[static_cast<size_t>(y) * width + x];
}

Image normalMap(const HeightField& field, float strength)
{
    Image normals(field.width, field.height, 3);
    for (int y = 0; y < field.height; ++y)
        for (int x = 0; x < field.width; ++x) {
            float dx = (field.sample(x + 1, y) - field.sample(x - 1, y)) * 0.5f * strength;
            float dv = (field.sample(x, y - 1) - field.sample(x, y + 1)) * 0.5f * strength;
            float nx = -dx, ny = -dv, nz = 1.0f;
            float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            uint8_t* p = normals.at(x, y);
            p[0] = toByte(nx / len * 0.5f + 0.5f);
            p[1] = toByte(ny / len * 0.5f + 0.5f);
            p[2] = toByte(nz / len * 0.5f + 0.5f);
        }
    return normals;
}

} // namespace assetgen
