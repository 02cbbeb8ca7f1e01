#include "gfx/client_arrays.h"

#include <epoxy/gl.h>

namespace {

const GLenum kArrays[4] = {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY};

} // namespace

ClientArrays::ClientArrays(bool normals, bool texCoords)
{
    for (int k = 0; k < 4; ++k)
        wasOn_[k] = glIsEnabled(kArrays[k]);
    const bool on[4] = {true, normals, texCoords, false};
    for (int k = 0; k < 4; ++k)
        (on[k] ? glEnableClientState : glDisableClientState)(kArrays[k]);
}

ClientArrays::~ClientArrays()
{
    for (int k = 0; k < 4; ++k)
        (wasOn_[k] ? glEnableClientState : glDisableClientState)(kArrays[k]);
}
