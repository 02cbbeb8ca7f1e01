// When the credit lines show.
#include <gtest/gtest.h>

#include "effects/credits.h"
#include "gfx/bitmap_text.h"

TEST(CreditsReleaseLine, TheBandFadesInByAFifthAndOutAfterEightyFivePercent)
{
    for (auto [t, alpha] : {std::pair{0.0f, 0.0f}, {0.025f, 0.375f}, {0.05f, 0.75f}, {0.85f, 0.75f}, {0.9f, 0.0f},
                            {1.0f, 0.0f}})
        EXPECT_FLOAT_EQ(credits::bandAlpha(t), alpha) << t;
    // Resolved, the line reads exactly itself: it ends at its own terminator.
    EXPECT_EQ(bitmaptext::decodingLine(credits::kReleaseLine, 1.0f), "  SILVATE + KORVANE @ VEXFORT 2012 ");
}

TEST(CreditsNames, EachLineResolvesInItsWindowStandsAndIsGoneBy0205AfterItsEnd)
{
    // Art, music and code, three lines and two pairs, each revealed over 0.05.
    const float window[7][2] = {{0.125f, 0.175f}, {0.125f, 0.175f}, {0.125f, 0.175f}, {0.4f, 0.45f},
                                {0.4f, 0.45f},     {0.65f, 0.7f},     {0.65f, 0.7f}};
    for (int i = 0; i < 7; ++i) {
        const credits::CreditLine& line = credits::kNames[i];
        float start = window[i][0], end = window[i][1];
        EXPECT_EQ(credits::lineProgress(line, start), 0.0f) << i;
        EXPECT_NEAR(credits::lineProgress(line, start + 0.025f), 0.5f, 1e-4f) << i;
        EXPECT_FLOAT_EQ(credits::lineProgress(line, end + 0.15f), 1.0f) << i;
        EXPECT_NEAR(credits::lineProgress(line, end + 0.1775f), 0.5f, 1e-3f) << i;
        EXPECT_EQ(credits::lineProgress(line, end + 0.205f), 0.0f) << i;
        EXPECT_EQ(bitmaptext::decodingLine(line.text, 1.0f), line.text) << i;
    }
    EXPECT_STREQ(credits::kNames[4].text, "             DRELLNIVAR            ");
}
