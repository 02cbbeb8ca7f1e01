#include "gfx/screen_passes.h"

void drawOverlay()
{
    // The overlay texture arrives with the image manager; until then there is nothing to lay.
}
