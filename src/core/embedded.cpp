#include "core/embedded.h"

const EmbeddedFile* embeddedResource(std::string_view name)
{
    for (const EmbeddedFile* f = kEmbeddedFiles; f->name; ++f)
        if (name == f->name)
            return f;
    return nullptr;
}
