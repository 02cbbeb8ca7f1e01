// The opening quotation's camera and light, and when the credit lines show.
#include <gtest/gtest.h>

#include <cstring>

#include "effects/credits.h"
#include "effects/opening_text.h"
#include "gfx/bitmap_text.h"

namespace {

void expectVec(const Vec3& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

bool anyNameShows(float t)
{
    for (const credits::CreditLine& line : credits::kNames)
        if (credits::lineProgress(line, t) > 0.0f)
            return true;
    return false;
}

// The last t, in steps of 0.0005, at which any of the lines first..last shows.
float lastShown(int first, int last)
{
    float seen = -1.0f;
    for (int k = 0; k <= 2000; ++k) {
        float t = k * 0.0005f;
        for (int i = first; i <= last; ++i)
            if (credits::lineProgress(credits::kNames[i], t) > 0.0f)
                seen = t;
    }
    return seen;
}

} // namespace

TEST(OpeningTextCamera, ShotZeroDriftsTowardsTheTitle)
{
    OpeningCamera start = openingCamera(0.0f, 0);
    expectVec(start.eye, 0.0f, 0.75f, 7.85f);
    expectVec(start.target, 0.0f, 1.0f, 0.0f);
    OpeningCamera end = openingCamera(1.0f, 0);
    expectVec(end.eye, 0.0f, 0.95f, 7.35f);
    expectVec(end.target, 0.0f, 1.0f, 0.0f);
}

TEST(OpeningTextCamera, ShotOneSweepsFromLeftToRight)
{
    OpeningCamera start = openingCamera(0.0f, 1);
    expectVec(start.eye, -6.0f, 0.25f, 3.85f);
    expectVec(start.target, -3.0f, 0.45f, 0.0f);
    OpeningCamera end = openingCamera(1.0f, 1);
    expectVec(end.eye, 6.85f, 0.5f, 2.8f);
    expectVec(end.target, 3.0f, 0.45f, 0.0f);
}

TEST(OpeningTextCamera, AnyOtherShotLeavesEyeAndTargetAtTheOrigin)
{
    OpeningCamera other = openingCamera(0.5f, 2);
    expectVec(other.eye, 0.0f, 0.0f, 0.0f);
    expectVec(other.target, 0.0f, 0.0f, 0.0f);
}

TEST(OpeningTextCamera, TheLightStandsAboveTwiceTheViewingDistanceBack)
{
    float light[4];
    openingLightPosition(openingCamera(0.0f, 0), light);
    EXPECT_FLOAT_EQ(light[0], 0.0f);
    EXPECT_FLOAT_EQ(light[1], 2.0f * (0.75f - 1.0f) + 10.0f);
    EXPECT_FLOAT_EQ(light[2], 2.0f * 7.85f + 1.0f);
    EXPECT_FLOAT_EQ(light[3], 1.0f); // a positional light
}

TEST(CreditsReleaseLine, TheBandFadesInByAFifthAndOutAfterEightyFivePercent)
{
    EXPECT_EQ(credits::bandAlpha(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(credits::bandAlpha(0.025f), 0.375f);
    EXPECT_FLOAT_EQ(credits::bandAlpha(0.05f), 0.75f);
    EXPECT_FLOAT_EQ(credits::bandAlpha(0.85f), 0.75f);
    EXPECT_EQ(credits::bandAlpha(0.9f), 0.0f);
    EXPECT_EQ(credits::bandAlpha(1.0f), 0.0f);
}

TEST(CreditsReleaseLine, ResolvedItReadsExactlyTheReleaseLine)
{
    EXPECT_EQ(bitmaptext::decodingLine(credits::kReleaseLine, 1.0f), credits::kReleaseLine);
    EXPECT_EQ(std::string(credits::kReleaseLine), "  SILVATE + KORVANE @ VEXFORT 2012 ");
}

TEST(CreditsNames, NothingShowsBeforeAnEighthOrAfterNinetyPointFivePercent)
{
    EXPECT_FALSE(anyNameShows(0.0f));
    EXPECT_FALSE(anyNameShows(0.125f));
    EXPECT_TRUE(anyNameShows(0.126f));
    EXPECT_TRUE(anyNameShows(0.9f));
    EXPECT_FALSE(anyNameShows(0.905f));
    EXPECT_FALSE(anyNameShows(1.0f));
}

TEST(CreditsNames, EachGroupIsGoneByItsOwnTime)
{
    EXPECT_LT(lastShown(0, 2), 0.38f);
    EXPECT_GT(lastShown(0, 2), 0.379f);
    EXPECT_LT(lastShown(3, 4), 0.655f);
    EXPECT_GT(lastShown(3, 4), 0.654f);
    EXPECT_LT(lastShown(5, 6), 0.905f);
    EXPECT_GT(lastShown(5, 6), 0.904f);
}

TEST(CreditsNames, EachGroupStandsResolvedBetweenItsEndAndTheFade)
{
    for (const credits::CreditLine& line : credits::kNames) {
        EXPECT_FLOAT_EQ(credits::lineProgress(line, line.end + 0.1f), 1.0f) << line.text;
        EXPECT_EQ(bitmaptext::decodingLine(line.text, 1.0f), line.text);
        EXPECT_LE(std::strlen(line.text), 37u);
    }
    EXPECT_STREQ(credits::kNames[4].text, "             DRELLNIVAR            ");
}
