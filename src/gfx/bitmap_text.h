// Bitmap text: one display list per character, drawing its cell of the font
// texture and moving the pen; plain lines and decoding lines, which show random
// letters that resolve into the text from left to right as a ramp advances.
// Callers bind the font texture and set blending first.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/c_rand.h"
#include "core/vec3.h"

// Makes the 128 glyph lists: a quad of size x size with the glyph's cell, then
// a move of advance along x. Called once, before any text is drawn.
void buildFont(int32_t size, float advance);
void releaseFont();
// The first of the 128 glyph lists; list fontBase() + g draws character g + 32.
uint32_t fontBase();

// A line at position in white of the given alpha (model-view reset, depth test on).
void drawText(const Vec3& position, float alpha, const char* text);

// A decoding line as one frame shows it; none when it is not drawn.
using DecodedLine = std::optional<std::string>;
// The line a decoding text shows at progress p (bitmaptext::decodingLine, its
// scramble drawn from the shared sequence), or none unless p is above 0. No GL:
// a frame's update decodes the lines, so that drawing moves no sequence on.
DecodedLine decodeText(const char* text, float p);
// A decoded line at position in white of the given alpha; nothing for none.
void drawDecodedText(const Vec3& position, const DecodedLine& line, float alpha);
// The same in the current colour.
void drawDecodedTextUncoloured(const Vec3& position, const DecodedLine& line);

namespace bitmaptext {

constexpr int kLineLength = 37; // characters of a decoding line
constexpr int kScrambleRows = 14;
// The letters shown in place of those not yet revealed: rows of 35, NUL-padded.
extern const char kScrambleTable[kScrambleRows][64];

// Texture rectangle of glyph g: 16 columns, rows of a quarter from the top.
struct GlyphCell {
    float left, right, bottom, top;
};
GlyphCell glyphCell(int glyph);
// The display list that draws character c.
uint32_t listForCharacter(uint32_t base, unsigned char c);

// How far a decoding line has resolved: rises from start to end, falls back
// from end + fadeFrom to end + fadeTo. Nothing is drawn unless it is above 0.
float decodingProgress(float time, float start, float end, float fadeFrom, float fadeTo);
// The progress of a line drawn in white: it resolves while time runs from
// start to end, stands until end + 0.025 and scrambles away by end + 0.05.
float colouredProgress(float time, float start, float end);
// The progress of a line drawn in the current colour: standing until end + 0.15
// and gone by end + 0.205.
float uncolouredProgress(float time, float start, float end);
// Number of the text's characters shown at progress p.
int revealedCount(float p);
// The line drawn at progress p: all 37 positions are filled first, the text's
// first revealedCount(p) characters, then for each other position a letter of
// a scramble row chosen by one random() draw; the line then ends at its first
// NUL. The draws are made even past that NUL, since random() plays the part of
// the C library's rand(), whose sequence the particle systems share.
std::string decodingLine(const char* text, float p, int (*random)() = cRand);

} // namespace bitmaptext
