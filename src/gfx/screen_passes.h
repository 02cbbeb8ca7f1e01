// Screen-space passes: the orthographic helpers and the full-screen quads.
#pragma once

// Lays the overlay picture over the whole frame; called by the main loop after every frame.
void drawOverlay();
