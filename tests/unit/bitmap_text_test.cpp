// Bitmap text: which list draws a character, where a glyph lies in the font
// texture, and the decoding line with a predictable stand-in for rand().
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "gfx/bitmap_text.h"

using namespace bitmaptext;

namespace {

int gDraws = 0;
// Picks scramble rows 0, 1, 2, ... in turn.
int countingRandom()
{
    return gDraws++;
}

const char* kLong = "abcdefghijklmnopqrstuvwxyzabcdefghijklmn"; // 40 letters absent from the table

// True when every character from 'from' on is the scramble letter of that
// position in the row countingRandom() chose for it.
void expectScrambledFrom(const std::string& line, int from, int firstDraw)
{
    for (int i = from; i < static_cast<int>(line.size()); ++i)
        EXPECT_EQ(line[i], kScrambleTable[(firstDraw + i - from) % kScrambleRows][i]) << i;
}

} // namespace

TEST(BitmapTextLists, ACharacterCallsTheListThirtyTwoBelowItsCode)
{
    EXPECT_EQ(listForCharacter(1000, 'A'), 1033u);
    EXPECT_EQ(listForCharacter(1000, ' '), 1000u);
    EXPECT_EQ(listForCharacter(1000, '_'), 1063u);
}

TEST(BitmapTextLists, GlyphsFillSixteenColumnsAndFourRowsFromTheTop)
{
    GlyphCell blank = glyphCell(0);
    EXPECT_FLOAT_EQ(blank.left, 0.0f);
    EXPECT_FLOAT_EQ(blank.right, 0.0625f);
    EXPECT_FLOAT_EQ(blank.bottom, 0.75f);
    EXPECT_FLOAT_EQ(blank.top, 1.0f);
    GlyphCell a = glyphCell('A' - 32); // column 1 of row 2
    EXPECT_FLOAT_EQ(a.left, 0.0625f);
    EXPECT_FLOAT_EQ(a.right, 0.125f);
    EXPECT_FLOAT_EQ(a.bottom, 0.25f);
    EXPECT_FLOAT_EQ(a.top, 0.5f);
    // Past row 3 the cells fall below the texture.
    GlyphCell lower = glyphCell(64);
    EXPECT_FLOAT_EQ(lower.bottom, -0.25f);
    EXPECT_FLOAT_EQ(lower.top, 0.0f);
}

TEST(BitmapTextScramble, EveryRowHoldsThirtyFiveLettersThenNuls)
{
    for (int row = 0; row < kScrambleRows; ++row) {
        EXPECT_EQ(std::strlen(kScrambleTable[row]), 35u) << row;
        EXPECT_EQ(kScrambleTable[row][36], '\0');
    }
    EXPECT_EQ(std::string(kScrambleTable[5]), "  YUPVYAREZDNXYGPC27-J_HRU(HCFC5GT ");
    EXPECT_EQ(std::string(kScrambleTable[13]), "  4YQC97!.?FS_UJTIB*PENSYMBI6SH5   ");
}

TEST(BitmapTextDecoding, HalfwayTheFirstEighteenCharactersAreTheText)
{
    gDraws = 0;
    std::string line = decodingLine(kLong, 0.5f, countingRandom);
    EXPECT_EQ(revealedCount(0.5f), 18);
    EXPECT_EQ(line.substr(0, 18), std::string(kLong, 18));
    // The rest comes from the table and stops at the rows' terminator.
    EXPECT_EQ(line.size(), 35u);
    expectScrambledFrom(line, 18, 0);
}

TEST(BitmapTextDecoding, AShortTextShowsExactlyItselfOnceItsEndIsRevealed)
{
    const char* ten = "0123456789";
    gDraws = 0;
    EXPECT_EQ(decodingLine(ten, 11.0f / 37.0f + 1e-6f, countingRandom), ten);
    EXPECT_EQ(decodingLine(ten, 1.0f, countingRandom), ten);
    EXPECT_EQ(gDraws, 0);
    // One character short of its end, scrambled letters follow it.
    std::string line = decodingLine(ten, 10.0f / 37.0f + 1e-6f, countingRandom);
    EXPECT_EQ(line.substr(0, 10), ten);
    EXPECT_EQ(line.size(), 35u);
    expectScrambledFrom(line, 10, 0);
}

TEST(BitmapTextDecoding, TheLineNeverExceedsThirtySevenCharacters)
{
    EXPECT_EQ(decodingLine(kLong, 1.0f, countingRandom), std::string(kLong, 37));
    EXPECT_EQ(revealedCount(1.0f), 37);
    EXPECT_EQ(revealedCount(1.5f), 37);
    EXPECT_EQ(revealedCount(0.999f), 36);
}

TEST(BitmapTextDecoding, ResolvesStandsAndScramblesBackFromTheRight)
{
    float start = 2.0f, end = 3.0f;
    EXPECT_FLOAT_EQ(decodingProgress(2.5f, start, end, 0.025f, 0.05f), 0.5f);
    EXPECT_FLOAT_EQ(decodingProgress(3.02f, start, end, 0.025f, 0.05f), 1.0f);
    float fading = decodingProgress(end + 0.0375f, start, end, 0.025f, 0.05f);
    EXPECT_NEAR(fading, 0.5f, 1e-4f);
    EXPECT_EQ(revealedCount(fading), 18);
    EXPECT_EQ(decodingProgress(end + 0.05f, start, end, 0.025f, 0.05f), 0.0f);
}

TEST(BitmapTextDecoding, NothingShowsBeforeTheStartOrForATimeThatIsNotANumber)
{
    EXPECT_FALSE(decodingProgress(1.5f, 2.0f, 3.0f, 0.025f, 0.05f) > 0.0f);
    EXPECT_FALSE(decodingProgress(2.0f, 2.0f, 3.0f, 0.025f, 0.05f) > 0.0f);
    float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(decodingProgress(nan, 2.0f, 3.0f, 0.025f, 0.05f) > 0.0f);
}

TEST(BitmapTextDecoding, TheUncolouredLineStandsLongerBeforeItFades)
{
    float end = 0.175f;
    EXPECT_FLOAT_EQ(decodingProgress(end + 0.149f, 0.125f, end, 0.15f, 0.205f), 1.0f);
    EXPECT_NEAR(decodingProgress(end + 0.1775f, 0.125f, end, 0.15f, 0.205f), 0.5f, 1e-4f);
    EXPECT_EQ(decodingProgress(end + 0.205f, 0.125f, end, 0.15f, 0.205f), 0.0f);
}
