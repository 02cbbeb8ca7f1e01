// Picture files decoded into memory, with no GL: PNG through libpng, JPEG
// through libjpeg-turbo, both turned into the RGBA rows that textures take.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Red, green, blue, alpha bytes; rows bottom-up (the first row is the
// picture's bottom), as GL reads them.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

// Decodes a file, PNG or JPEG by its name's ending (.png, .jpg or .jpeg, any
// case). Pictures without alpha come out opaque. False when the file is
// missing, unreadable, of another kind or damaged; picture is then left empty.
bool decodePictureFile(const char* path, DecodedPicture& picture);
// The same for PNG bytes in memory.
bool decodePng(const uint8_t* data, size_t size, DecodedPicture& picture);
bool decodeJpeg(const uint8_t* data, size_t size, DecodedPicture& picture);
