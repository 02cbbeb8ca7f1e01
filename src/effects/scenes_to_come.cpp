#include "effects/scenes_to_come.h"

void setupLogoScene() {}
void buildTerrainGrid() {}
void setupBeast() {}
void setupMoonScene() {}
void setupRoots() {}
void setupStairway() {}

void drawMistScene(float, int) {}
void drawLairScene(float) {}
void drawBeastScene(float) {}
void drawMoonScene(float) {}
void drawIterationsScene(float) {}
void drawRootsScene(float) {}
void drawBranchScene(float, int) {}
void drawGreetingsScene(float, int) {}
void drawLensFlares(float, int) {}
