// Stand-in declarations of what other parts of the program provide (images,
// framebuffers, shader programs, sound, text, the scenes). Removed when those
// parts are joined; nothing here is this module's own.
#pragma once
#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cstdint>

#include "gfx/vec3.h"

#include "sound/sound_manager.h"
#include "gfx/framebuffer.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"
#include "gfx/quadric.h"
#include "gfx/shader_program.h"

// Bitmap text.
void drawText(const Vec3& position, float alpha, const char* text);
void drawDecodingText(const Vec3& position, float time, float start, float end, float alpha, const char* text);
GLuint fontTexture();

// Set-up of the scenes.
void setupLogoScene();
void buildTerrainGrid();
void setupBeast();
void setupMoonScene();
void setupRoots();
void setupStairway();
void setupOpeningText();

// The scenes and the overlays drawn by the frame sequencer.
void drawOpeningText(float t, int shot);
void drawMistScene(float r, int mode);
void drawLairScene(float r);
void drawBeastScene(float r);
void drawMoonScene(float p);
void drawIterationsScene(float r);
void drawRootsScene(float r);
void drawBranchScene(float t, int shot);
void drawGreetingsScene(float r, int mode);
void drawLensFlares(float t, int variant);
void drawCredits(float t, int page);
