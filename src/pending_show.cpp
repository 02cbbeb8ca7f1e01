// Minimal stand-ins for pending_show.h, enough to run the chain and the
// backdrops before the real modules are joined (PNG images only).
#include "pending_show.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/display_settings.h"
#include "app/log.h"


void drawText(const Vec3&, float, const char*) {}
void drawDecodingText(const Vec3&, float, float, float, float, const char*) {}
GLuint fontTexture() { return 0; }

void setupLogoScene() {}
void buildTerrainGrid() {}
void setupBeast() {}
void setupMoonScene() {}
void setupRoots() {}
void setupStairway() {}
void setupOpeningText() {}

void drawOpeningText(float, int) {}
void drawMistScene(float, int) {}
void drawLairScene(float) {}
void drawBeastScene(float) {}
void drawMoonScene(float) {}
void drawIterationsScene(float) {}
void drawRootsScene(float) {}
void drawBranchScene(float, int) {}
void drawGreetingsScene(float, int) {}
void drawLensFlares(float, int) {}
void drawCredits(float, int) {}
