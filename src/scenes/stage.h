// What the show hands every row of the scene list: the image manager that
// loads the pictures, and the viewer's display settings.
#pragma once
#include "core/display_settings.h"
#include "gfx/image_manager.h"

struct Stage {
    ImageManager& images;
    const DisplaySettings& display;
};
