// The show table: which windows a frame draws, in which order, with which
// values, and when the show ends. No GL is needed for any of it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "effects/overlays.h"
#include "scenes/scene_list.h"
#include "script_windows.h"
#include "timeline/show_table.h"

namespace {

const MarkerWindows& defaults()
{
    static MarkerWindows windows = windowsFrom("");
    return windows;
}

WindowValues at(Marker w, int32_t t)
{
    return windowValues(w, t, defaults());
}

using M = Marker;
using F = FinalValues;

} // namespace

// --- Order and overlap ---

TEST(FrameOrder, EachFrameRunsItsCompositesInTableOrderAndTheLastShows)
{
    const struct {
        int32_t t;
        std::vector<Marker> composites;
        Marker shown;
    } cases[] = {
        {-5, {}, M::Count},
        {0, {M::Citation}, M::Citation},
        {5500, {M::Citation}, M::Citation}, // the first of a shared test wins
        {5501, {M::Citation2}, M::Citation2},
        // The quotation is tested late, so it shows over the mist.
        {12000, {M::SousLaBrume, M::Citation2}, M::Citation2},
        {24060, {M::SousLaBrume}, M::SousLaBrume},
        {36000, {M::DansLeBrouillard, M::Directorcut}, M::Directorcut},
        {48000, {M::Directorcut, M::Linkbeast}, M::Linkbeast},
        {50000, {M::Linkbeast}, M::Linkbeast}, // the ramp-only windows never run for themselves
        {54000, {M::Linkbeast, M::LaBeteSeDechaine}, M::LaBeteSeDechaine},
        {120000, {M::Roots, M::Iterations}, M::Iterations}, // iterations is tested after roots
        {193000, {M::Rappel}, M::Rappel},
        {203000, {M::Rappel}, M::Rappel}, // the end window has no composite
        {204001, {}, M::Count},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compositesAt(c.t, defaults()), c.composites) << c.t;
        EXPECT_EQ(shownWindow(c.t, defaults()), c.shown) << c.t;
    }
    EXPECT_STREQ(windowReportName(M::Count), "none");
}

// --- End of the show ---

TEST(ShowEnd, TheEndWindowQuitsOnItsFirstMillisecondBeforeTheRecallWould)
{
    EXPECT_FALSE(showEndsAt(202999, defaults()));
    EXPECT_TRUE(showEndsAt(203000, defaults()));
    EXPECT_TRUE(showEndsAt(204000, defaults()));
    EXPECT_FALSE(showEndsAt(204001, defaults()));
}

TEST(ShowEnd, WithTheEndMovedLaterTheRecallEndsTheShowJustPastNinetyEightPercent)
{
    MarkerWindows moved = windowsFrom("demoend.start 230000\n");
    EXPECT_FALSE(showEndsAt(203000, moved));
    EXPECT_FALSE(showEndsAt(203760, moved)); // r = 0.98 exactly goes on
    EXPECT_TRUE(showEndsAt(203761, moved));
    EXPECT_FALSE(showEndsAt(210000, moved)); // between the recall and the late end
    EXPECT_TRUE(showEndsAt(230500, moved));
}

// --- The table's values ---

// The final pass's ramps at their ends and turning points.
TEST(ShowTable, TheFinalPassFadesZoomsAndGradesAlongEachWindowsRamp)
{
    const struct {
        Marker w;
        int32_t t;
        float F::*field;
        float value;
    } cases[] = {
        // The quotation fades in and out and grows more colourful; at r = 0.5 the bump clamps to 1.
        {M::Citation, 0, &F::alpha, 0.0f}, {M::Citation, 0, &F::saturation, 0.35f},
        {M::Citation, 2750, &F::alpha, 1.0f}, {M::Citation, 2750, &F::saturation, 1.35f},
        {M::Citation2, 6000, &F::alpha, 10.0f / 13.0f}, // r2 = 500 / 6500
        {M::Citation2, 6000, &F::saturation, 1.5f}, {M::Citation2, 12000, &F::alpha, 0.0f},
        // The mist starts black; its first window runs with its own values at the boundary.
        {M::SousLaBrume, 12000, &F::alpha, 0.0f},
        {M::SousLaBrume, 12000, &F::bias, 0.0125f + 0.015285750253051612f},
        // The lair's zoom opens from a fifth and is gone by r = 0.125; the mirror turns.
        {M::Directorcut, 36000, &F::amount, 0.8f}, {M::Directorcut, 36000, &F::bias, 0.0125f + 0.01652857502530516f},
        {M::Directorcut, 38000, &F::amount, 0.0f}, {M::Directorcut, 48000, &F::amount, 0.0f},
        {M::Linkbeast, 48000, &F::amount, 0.0f}, {M::Linkbeast, 51000, &F::amount, 7.5f},
        {M::DansLesNuees, 72000, &F::amount, 0.4f}, {M::DansLesNuees, 72000, &F::alpha, 0.0f},
        // Iterations starts and ends black at full zoom, with full alpha in the middle.
        {M::Iterations, 95500, &F::alpha, 0.0f}, {M::Iterations, 95500, &F::amount, 1.0f},
        {M::Iterations, 107750, &F::amount, 0.1f}, {M::Iterations, 120000, &F::alpha, 0.0f},
        {M::Iterations, 120000, &F::amount, 1.0f},
        // The branch fades in once.
        {M::Noname, 143940, &F::alpha, 0.0f}, {M::Noname, 155970, &F::alpha, 1.0f},
        // The recall fades to black while its bias grows (r = 0.5).
        {M::Rappel, 198000, &F::alpha, 0.5f}, {M::Rappel, 198000, &F::saturation, 0.925f},
        {M::Rappel, 198000, &F::bias, 0.01135f + 0.0375f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(at(c.w, c.t).final.*c.field, c.value, 1e-6f) << windowReportName(c.w) << " at " << c.t;
}

TEST(ShowTable, TheRootsFlashPeaksAtHalfTimeAndDrainsTheColour)
{
    WindowValues peak = at(M::Roots, 131994); // r just past 0.501
    EXPECT_GT(peak.overlays.flash, 0.99f);
    EXPECT_LT(peak.final.saturation, 0.01f);
    EXPECT_FLOAT_EQ(at(M::Roots, 130000).overlays.flash, 0.0f); // r = 0.418
    EXPECT_FLOAT_EQ(at(M::Roots, 133000).overlays.flash, 0.0f); // r = 0.543
}

TEST(ShowTable, TheTitleWordsShowOnlyEarlyInTheRootsOneAfterAnotherAndFormOneLine)
{
    EXPECT_FALSE(at(M::Roots, 120100).overlays.titleWords); // r = 0.0042
    EXPECT_TRUE(at(M::Roots, 120500).overlays.titleWords);  // r = 0.021
    EXPECT_FALSE(at(M::Roots, 121700).overlays.titleWords); // r = 0.071
    // Each word fades in 0.005 after the one before.
    EXPECT_GT(titleWordFade(0, 0.012f), 0.0f);
    EXPECT_GT(titleWordFade(1, 0.012f), 0.0f);
    EXPECT_FLOAT_EQ(titleWordFade(2, 0.012f), 0.0f);
    EXPECT_FLOAT_EQ(titleWordFade(3, 0.02f), 0.0f);

    std::string line(17, ' ');
    for (const char* word : kTitleWords) {
        ASSERT_EQ(std::strlen(word), 17u);
        for (int i = 0; i < 17; ++i)
            if (word[i] != ' ') {
                EXPECT_EQ(line[i], ' ') << "words overlap at column " << i;
                line[i] = word[i];
            }
    }
    EXPECT_EQ(line, "BACK TO THE ROOTS");
}

TEST(ShowTable, AQuotationLaidOverTheRecallWinsTheSaturation)
{
    MarkerWindows overlapping = windowsFrom("citation.end 200000\n");
    EXPECT_FLOAT_EQ(windowValues(M::Rappel, 198000, overlapping).final.saturation, 1.35f);
}
