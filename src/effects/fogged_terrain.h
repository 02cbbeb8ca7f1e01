// The terrain's grid under black fog: the ground of the mist and of both
// swarm scenes.
#pragma once

// Draws the terrain's list with linear black fog to 60 units, its lines
// smoothed when asked (the viewer chose anti-aliasing).
void drawFoggedGrid(bool smoothLines);
