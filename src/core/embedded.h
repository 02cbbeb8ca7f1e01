// Resources compiled into the executable (shaders, bitmaps, tables), looked up by name.
#pragma once
#include <cstddef>
#include <string_view>

struct EmbeddedFile {
    const char* name;
    const unsigned char* data; // followed by a NUL that size does not count
    std::size_t size;
};

// The generated table, ended by an entry whose name is null.
extern const EmbeddedFile kEmbeddedFiles[];

// The named resource, or nullptr when the executable carries none by that name.
const EmbeddedFile* embeddedResource(std::string_view name);
