// The set-up and drawing calls of the scenes that are not built yet. Each is
// empty until its scene lands; the start-up sequence and the frame sequencer
// call them already, so the loading bar and every window's chain run whole.
#pragma once

void setupLogoScene();
void buildTerrainGrid();
void setupBeast();
void setupMoonScene();
void setupRoots();
void setupStairway();

void drawMistScene(float r, int mode);
void drawLairScene(float r);
void drawBeastScene(float r);
void drawMoonScene(float p);
void drawIterationsScene(float r);
void drawRootsScene(float r);
void drawBranchScene(float t, int shot);
void drawGreetingsScene(float r, int mode);
void drawLensFlares(float t, int variant);
