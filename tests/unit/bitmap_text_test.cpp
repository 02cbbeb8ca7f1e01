// Bitmap text: which list draws a character, where a glyph lies in the font
// texture, and the decoding line with a predictable stand-in for rand().
#include <gtest/gtest.h>

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

// The line at progress p, which must be the text's first `shown` characters
// followed by the scramble letters of rows 0, 1, 2, ... up to position 35.
void expectLine(const char* text, float p, size_t shown)
{
    gDraws = 0;
    std::string line = decodingLine(text, p, countingRandom);
    EXPECT_EQ(line.substr(0, shown), std::string(text, shown));
    EXPECT_EQ(line.size(), 35u) << "ends at the rows' terminator";
    for (size_t i = shown; i < line.size(); ++i)
        EXPECT_EQ(line[i], kScrambleTable[(i - shown) % kScrambleRows][i]) << i;
}

float justAbove(int characters)
{
    return characters / 37.0f + 1e-6f;
}

} // namespace

TEST(BitmapTextLists, ACharacterCallsTheListThirtyTwoBelowItsCodeAndGlyphsFillSixteenColumnsAndFourRows)
{
    EXPECT_EQ(listForCharacter(1000, 'A'), 1033u);
    EXPECT_EQ(listForCharacter(1000, ' '), 1000u);
    EXPECT_EQ(listForCharacter(1000, '_'), 1063u);
    struct {
        int glyph;
        GlyphCell cell;
    } cases[] = {{0, {0.0f, 0.0625f, 0.75f, 1.0f}},
                 {'A' - 32, {0.0625f, 0.125f, 0.25f, 0.5f}}, // column 1 of row 2
                 {64, {0.0f, 0.0625f, -0.25f, 0.0f}}};      // past row 3: below the texture
    for (const auto& c : cases) {
        GlyphCell cell = glyphCell(c.glyph);
        EXPECT_EQ((std::vector<float>{cell.left, cell.right, cell.bottom, cell.top}),
                  (std::vector<float>{c.cell.left, c.cell.right, c.cell.bottom, c.cell.top}))
            << c.glyph;
    }
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

TEST(BitmapTextDecoding, TheRevealedTextIsFollowedByScrambleLettersUntilItsEndIsRevealed)
{
    expectLine(kLong, 0.5f, 18);
    const char* ten = "0123456789";
    expectLine(ten, justAbove(10), 10);
    EXPECT_EQ(decodingLine(ten, justAbove(11), countingRandom), ten);
}

TEST(BitmapTextDecoding, EachUnrevealedPositionDrawsOnceFromRandEvenPastTheLinesEnd)
{
    // The C library's sequence is shared: a line must take exactly its draws.
    CRandState before = cRandShared();
    CRandState expected = before;
    cRandSkip(expected, 37);
    decodingLine("HI", 0.0f); // the rows end at 35, yet 36 and 37 draw too
    EXPECT_EQ(cRand(), cRandNext(expected));
    cRandShared() = before;

    // Revealed through its NUL, "HI" still leaves 37 - 3 scrambled positions.
    gDraws = 0;
    EXPECT_EQ(decodingLine("HI", justAbove(3), countingRandom), "HI");
    EXPECT_EQ(gDraws, 34);
}

TEST(BitmapTextDecoding, TheLineNeverExceedsThirtySevenCharactersAndAResolvedOneDrawsNothing)
{
    gDraws = 0;
    EXPECT_EQ(decodingLine(kLong, 1.0f, countingRandom), std::string(kLong, 37));
    EXPECT_EQ(gDraws, 0);
    EXPECT_EQ(revealedCount(1.5f), 37);
    EXPECT_EQ(revealedCount(0.999f), 36);
}

TEST(BitmapTextDecoding, TheColouredLineResolvesStandsUntilEndPlus0025AndIsGoneAtEndPlus005)
{
    float start = 2.0f, end = 3.0f;
    EXPECT_FLOAT_EQ(colouredProgress(2.5f, start, end), 0.5f);
    EXPECT_FLOAT_EQ(colouredProgress(end + 0.025f, start, end), 1.0f);
    float fading = colouredProgress(end + 0.0375f, start, end);
    EXPECT_NEAR(fading, 0.5f, 1e-4f);
    EXPECT_EQ(revealedCount(fading), 18);
    EXPECT_EQ(colouredProgress(end + 0.05f, start, end), 0.0f);
}

TEST(BitmapTextDecoding, NothingShowsBeforeTheStartOrForATimeThatIsNotANumber)
{
    EXPECT_FALSE(colouredProgress(1.5f, 2.0f, 3.0f) > 0.0f);
    EXPECT_FALSE(colouredProgress(2.0f, 2.0f, 3.0f) > 0.0f);
    EXPECT_FALSE(colouredProgress(std::numeric_limits<float>::quiet_NaN(), 2.0f, 3.0f) > 0.0f);
}
