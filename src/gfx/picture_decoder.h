// Picture files decoded into memory, with no GL: PNG through libpng, JPEG
// through libjpeg-turbo, both turned into the RGBA rows that textures take.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Storage in a mapping of its own. Pictures are decoded on a worker thread and
// freed by the main one after their upload: mapped, they go back to the system
// at once instead of staying in the worker's heap for the rest of the show.
template <class T>
struct MappedAllocator {
    using value_type = T;
    MappedAllocator() = default;
    template <class U>
    MappedAllocator(const MappedAllocator<U>&) {}
    T* allocate(size_t count);
    void deallocate(T* at, size_t count);
    bool operator==(const MappedAllocator&) const { return true; }
};

// Red, green, blue, alpha bytes; rows bottom-up (the first row is the
// picture's bottom), as GL reads them.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t, MappedAllocator<uint8_t>> rgba;
};

// Decodes a file, PNG or JPEG by its name's ending (.png, .jpg or .jpeg, any
// case). Pictures without alpha come out opaque. False when the file is
// missing, unreadable, of another kind or damaged; picture is then left empty.
bool decodePictureFile(const char* path, DecodedPicture& picture);
// The same for PNG bytes in memory.
bool decodePng(const uint8_t* data, size_t size, DecodedPicture& picture);
bool decodeJpeg(const uint8_t* data, size_t size, DecodedPicture& picture);
