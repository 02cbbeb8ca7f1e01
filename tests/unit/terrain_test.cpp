#include <gtest/gtest.h>

#include <vector>

#include "core/c_rand.h"
#include "core/rng.h"
#include "core/vec3.h"
#include "gfx/terrain.h"

namespace {

constexpr uint64_t kTerms = uint64_t(512) * 512 * 108;

bool sameSequence(CRandState a, CRandState b)
{
    for (int k = 0; k < 40; ++k)
        if (cRandNext(a) != cRandNext(b))
            return false;
    return true;
}

uint32_t stepped(uint32_t x, uint64_t count)
{
    for (; count != 0; --count)
        x = rng::step(x);
    return x;
}

// One serial build from the unseeded C-library state, shared by the tests
// that read the whole grid; the shared generators are put back afterwards.
class TerrainGrid : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        savedC = cRandShared();
        savedRng = rng::state();
        cRandShared() = cRandInitialState();
        centres = makeBumpCentres();
        heights = terrainHeightsSerial(centres);
        cAfter = cRandShared();
        rngAfter = rng::state();
    }
    static void TearDownTestSuite()
    {
        cRandShared() = savedC;
        rng::seed(savedRng);
    }

    static inline CRandState savedC, cAfter;
    static inline uint32_t savedRng, rngAfter;
    static inline std::vector<Vec3> centres;
    static inline std::vector<float> heights;
};

} // namespace

TEST_F(TerrainGrid, TheBuildDrawsOncePerTermFromEachGenerator)
{
    EXPECT_EQ(rngAfter, stepped(52326, 972 + kTerms));
    CRandState expected = cRandInitialState();
    cRandSkip(expected, kTerms);
    EXPECT_TRUE(sameSequence(cAfter, expected));
}

TEST_F(TerrainGrid, ThreadedBuildsMatchTheSerialOneBitForBitAndLeaveTheSameStates)
{
    for (int threads : {2, 3}) {
        cRandShared() = cRandInitialState();
        std::vector<float> fast = terrainHeights(makeBumpCentres(), threads);
        EXPECT_TRUE(fast == heights) << threads << " threads";
        EXPECT_EQ(rng::state(), rngAfter) << threads << " threads";
        EXPECT_TRUE(sameSequence(cRandShared(), cAfter)) << threads << " threads";
    }
}

TEST(Terrain, FarBumpsGiveOneTinyNegativeTermWhateverTheirDraws)
{
    // v is clamped to -0.0001: 2.94 sin(-0.0001 pi 0.475) for g = 0.
    EXPECT_NEAR(terrainHeightTerm(3.7f, 0, 0.0f), -4.3872e-4f, 1e-7f);
    EXPECT_EQ(terrainHeightTerm(3.7f, 0, 0.0f), terrainHeightTerm(40.0f, 32766, 0.0f));
    EXPECT_LT(terrainHeightTerm(10.0f, 5, 1.0f), terrainHeightTerm(10.0f, 5, 0.0f));
    // At 3.6 only the largest jitter keeps v above the cut: a far deeper dip.
    EXPECT_EQ(terrainHeightTerm(3.6f, 0, 0.0f), terrainHeightTerm(9.0f, 0, 0.0f));
    EXPECT_LT(terrainHeightTerm(3.6f, 32766, 0.0f), -0.5f);
    // The draw counts modulo 32767: 32767 is no jitter at all.
    EXPECT_EQ(terrainHeightTerm(1.0f, 32767, 0.5f), terrainHeightTerm(1.0f, 0, 0.5f));
    // On the bump: 2.94 sin(0.475 pi).
    EXPECT_NEAR(terrainHeightTerm(0.0f, 0, 0.0f), 2.9309f, 1e-4f);
}

TEST(Terrain, QuadsAreDrawnOnlyWhereSomeCornerRisesAboveZero)
{
    std::vector<Vec3> raised(2 * kTerrainWidth, Vec3{0.0f, -1.0f, 0.0f});
    raised[2].y = 0.0f;
    EXPECT_FALSE(terrainQuadDrawn(raised.data(), 0, 1)); // touching 0 is not above it
    raised[kTerrainWidth + 1].y = 0.001f;
    EXPECT_TRUE(terrainQuadDrawn(raised.data(), 0, 0));
    EXPECT_TRUE(terrainQuadDrawn(raised.data(), 0, 1));
    EXPECT_FALSE(terrainQuadDrawn(raised.data(), 0, 2));
}

// The head start guesses where start-up leaves the C library's generator; the
// step keeps its heights only when the guess holds.
TEST(TerrainHeadStart, GivesTheHeightsAndGeneratorStatesOfABuildAtTheStepWhetherItsGuessHoldsOrNot)
{
    CRandState savedC = cRandShared();
    uint32_t savedRng = rng::state();
    for (uint64_t drawn : {kCRandDrawsBeforeTerrain, kCRandDrawsBeforeTerrain - 1}) {
        cRandShared() = cRandInitialState();
        rng::seed(77);
        startTerrainHeights(2);
        EXPECT_TRUE(sameSequence(cRandShared(), cRandInitialState()));
        EXPECT_EQ(rng::state(), 77u);
        // The steps before the terrain draw from both generators meanwhile.
        cRandSkip(cRandShared(), drawn);
        rng::seed(1234);
        std::vector<float> atStep = terrainHeightsAtStep();
        CRandState cAfter = cRandShared();
        uint32_t rngAfter = rng::state();

        cRandShared() = cRandInitialState();
        cRandSkip(cRandShared(), drawn);
        std::vector<float> built = terrainHeights(makeBumpCentres(), 2);
        EXPECT_TRUE(atStep == built) << drawn << " draws before";
        EXPECT_EQ(rngAfter, rng::state()) << drawn << " draws before";
        EXPECT_TRUE(sameSequence(cAfter, cRandShared())) << drawn << " draws before";
    }
    cRandShared() = savedC;
    rng::seed(savedRng);
}
