// The show table: which windows a frame draws, in which order, with which
// values, and when the show ends. No GL is needed for any of it.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "effects/overlays.h"
#include "timeline/frame_sequencer.h"

namespace {

MarkerWindows windowsFrom(const std::string& script)
{
    std::istringstream in(script);
    return buildMarkerWindows(MarkerTable::fromStream(in));
}

const MarkerWindows& defaults()
{
    static MarkerWindows windows = windowsFrom("");
    return windows;
}

WindowValues at(Window w, int32_t t)
{
    return windowValues(w, t, defaults());
}

void expectVec(const Vec3& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

using W = Window;

} // namespace

// --- Order and overlap ---

TEST(FrameOrder, EachFrameRunsItsCompositesInTableOrderAndTheLastShows)
{
    const struct {
        int32_t t;
        std::vector<Window> composites;
        Window shown;
    } cases[] = {
        {-5, {}, W::Count},
        {0, {W::Citation}, W::Citation},
        {5500, {W::Citation}, W::Citation}, // the first of a shared test wins
        {5501, {W::Citation2}, W::Citation2},
        // The quotation is tested late, so it shows over the mist.
        {12000, {W::SousLaBrume, W::Citation2}, W::Citation2},
        {24060, {W::SousLaBrume}, W::SousLaBrume},
        {36000, {W::DansLeBrouillard, W::Directorcut}, W::Directorcut},
        {48000, {W::Directorcut, W::Linkbeast}, W::Linkbeast},
        {50000, {W::Linkbeast}, W::Linkbeast}, // the ramp-only windows never run for themselves
        {54000, {W::Linkbeast, W::LaBeteSeDechaine}, W::LaBeteSeDechaine},
        {120000, {W::Roots, W::Iterations}, W::Iterations}, // iterations is tested after roots
        {193000, {W::Rappel}, W::Rappel},
        {203000, {W::Rappel}, W::Rappel}, // the end window has no composite
        {204001, {}, W::Count},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compositesAt(c.t, defaults()), c.composites) << c.t;
        EXPECT_EQ(shownWindow(c.t, defaults()), c.shown) << c.t;
    }
    EXPECT_STREQ(windowReportName(W::Count), "none");
    // At the mist boundary the first mist window runs with its own values.
    WindowValues v = at(W::SousLaBrume, 24060);
    EXPECT_EQ(v.scene.mode, 1);
    EXPECT_FLOAT_EQ(v.final.godrayintensity, 0.25f);
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

TEST(ShowTable, OnlyIterationsAndGreetingsGoWithoutTheSharedBackdrop)
{
    for (int i = 0; i < kWindowCount; ++i) {
        Window w = static_cast<Window>(i);
        WindowValues v = at(w, defaults()[w].start);
        bool own = (w == W::Iterations || w == W::Greetings);
        bool noComposite = (w == W::OuGitLaBete || w == W::Linkbeast2 || w == W::Demoend);
        EXPECT_EQ(v.backdrop.has_value(), !own && !noComposite) << windowReportName(w);
    }
    // The lair and the linked beast sink their backdrop; the branch keeps its own lighting.
    EXPECT_FLOAT_EQ(at(W::Directorcut, 40000).backdrop->translateY, -5.0f);
    EXPECT_FLOAT_EQ(at(W::Linkbeast, 50000).backdrop->translateY, -5.0f);
    EXPECT_FLOAT_EQ(at(W::LaBeteSeDechaine, 60000).backdrop->translateY, 0.0f);
    EXPECT_FALSE(at(W::Noname, 150000).backdrop->lightingOff);
    EXPECT_TRUE(at(W::Roots, 130000).backdrop->lightingOff);
    EXPECT_EQ(at(W::DansLesNuees, 80000).backdrop->mode, BackdropMode::SkyAWithFarGround);
}

TEST(ShowTable, TheQuotationFadesInOutAndBecomesMoreColourful)
{
    WindowValues start = at(W::Citation, 0);
    EXPECT_FLOAT_EQ(start.final.alpha, 0.0f);
    EXPECT_FLOAT_EQ(start.final.saturation, 0.35f);
    WindowValues middle = at(W::Citation, 2750); // r = 0.5, the bump clamps to 1
    EXPECT_FLOAT_EQ(middle.final.alpha, 1.0f);
    EXPECT_FLOAT_EQ(middle.final.saturation, 1.35f);
    WindowValues second = at(W::Citation2, 6000); // r2 = 500 / 6500
    EXPECT_EQ(second.scene.mode, 1);
    EXPECT_NEAR(second.final.alpha, 0.76923f, 1e-4);
    EXPECT_FLOAT_EQ(second.final.saturation, 1.5f);
    EXPECT_FLOAT_EQ(at(W::Citation2, 12000).final.alpha, 0.0f);
}

TEST(ShowTable, TheMistStartsBlackWithItsEmberOutlineAndSettlesOnRose)
{
    WindowValues v = at(W::SousLaBrume, 12000);
    EXPECT_FLOAT_EQ(v.final.alpha, 0.0f);
    EXPECT_FLOAT_EQ(v.final.bias, 0.0125f + 0.015285750253051612f);
    expectVec(v.blur.tint, 1.0f, 0.45f, 0.125f);
    EXPECT_EQ(v.overlays.lensFlares, 1);
    WindowValues fog = at(W::DansLeBrouillard, 30000);
    expectVec(fog.blur.tint, 0.98f, 0.5f, 0.725f);
    EXPECT_FLOAT_EQ(fog.final.godrayintensity, 0.51f);
    EXPECT_EQ(fog.overlays.lensFlares, 0);
    expectVec(at(W::DansLeBrouillard, 36000).final.ambientCol, 1.2f, 0.85f, 0.75f);
}

TEST(ShowTable, TheLairZoomOpensFromAFifthAndTheWindowEndsBeforeTheCollapse)
{
    WindowValues start = at(W::Directorcut, 36000);
    EXPECT_EQ(start.final.quad, FinalQuad::Zoom);
    EXPECT_FLOAT_EQ(start.final.amount, 0.8f);
    EXPECT_FLOAT_EQ(start.final.bias, 0.0125f + 0.01652857502530516f);
    EXPECT_FLOAT_EQ(at(W::Directorcut, 38000).final.amount, 0.0f); // r = 0.125
    WindowValues end = at(W::Directorcut, 48000);                 // r = 0.75 of the longer window
    EXPECT_FLOAT_EQ(end.scene.r, 0.75f);
    EXPECT_FLOAT_EQ(end.final.amount, 0.0f);
    EXPECT_EQ(end.overlays.lensFlares, 2);
}

TEST(ShowTable, TheLinkedBeastTurnsItsMirrorAndRunsOnTheLongerRamp)
{
    WindowValues v = at(W::Linkbeast, 48000);
    EXPECT_EQ(v.final.quad, FinalQuad::Mirror);
    EXPECT_FLOAT_EQ(v.final.amount, 0.0f);
    EXPECT_NEAR(v.scene.r, 8000.0f / 14000.0f, 1e-6);
    EXPECT_FLOAT_EQ(at(W::Linkbeast, 51000).final.amount, 7.5f);
    EXPECT_EQ(at(W::LaBeteSeDechaine, 60000).final.quad, FinalQuad::Plain);
}

TEST(ShowTable, TheCloudsAreGreyTintedAndCarryTheMakersCredits)
{
    WindowValues v = at(W::DansLesNuees, 72000);
    EXPECT_FLOAT_EQ(v.final.colour[0], 0.95f);
    EXPECT_FLOAT_EQ(v.final.colour[3], 1.0f);
    EXPECT_FLOAT_EQ(v.final.amount, 0.4f);
    EXPECT_FLOAT_EQ(v.final.alpha, 0.0f);
    EXPECT_EQ(v.overlays.creditsPage, 1);
    EXPECT_EQ(v.overlays.lensFlares, 3);
    expectVec(v.blur.tint, 0.0f, 0.45f, 0.825f);
}

TEST(ShowTable, IterationsStartsAndEndsBlackAtFullZoom)
{
    for (int32_t t : {95500, 120000}) {
        WindowValues v = at(W::Iterations, t);
        EXPECT_FLOAT_EQ(v.final.alpha, 0.0f);
        EXPECT_FLOAT_EQ(v.final.amount, 1.0f);
    }
    EXPECT_NEAR(at(W::Iterations, 107750).final.amount, 0.1f, 1e-6); // full alpha in the middle
}

TEST(ShowTable, TheRootsFlashPeaksAtHalfTimeAndDrainsTheColour)
{
    WindowValues peak = at(W::Roots, 131994); // r just past 0.501
    EXPECT_GT(peak.overlays.flash, 0.99f);
    EXPECT_LT(peak.final.saturation, 0.01f);
    EXPECT_FLOAT_EQ(at(W::Roots, 130000).overlays.flash, 0.0f); // r = 0.418
    EXPECT_FLOAT_EQ(at(W::Roots, 133000).overlays.flash, 0.0f); // r = 0.543
    EXPECT_FLOAT_EQ(at(W::Roots, 130000).final.bias, 0.0128f);
    EXPECT_FLOAT_EQ(at(W::Roots, 133000).final.bias, 0.01873158f);
    expectVec(at(W::Roots, 133000).blur.tint, 1.0f, 0.9f, 0.9f);
}

TEST(ShowTable, TheTitleWordsShowOnlyEarlyInTheRoots)
{
    EXPECT_FALSE(at(W::Roots, 120100).overlays.titleWords); // r = 0.0042
    EXPECT_TRUE(at(W::Roots, 120500).overlays.titleWords);  // r = 0.021
    EXPECT_FALSE(at(W::Roots, 121700).overlays.titleWords); // r = 0.071
    // Each word fades in 0.005 after the one before.
    EXPECT_GT(titleWordFade(0, 0.012f), 0.0f);
    EXPECT_GT(titleWordFade(1, 0.012f), 0.0f);
    EXPECT_FLOAT_EQ(titleWordFade(2, 0.012f), 0.0f);
    EXPECT_FLOAT_EQ(titleWordFade(3, 0.02f), 0.0f);
}

TEST(ShowTable, TheFourTitleWordsFormOneLine)
{
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

TEST(ShowTable, TheBranchFadesInOnceAndTheGreetingsNeverFade)
{
    EXPECT_FLOAT_EQ(at(W::Noname, 143940).final.alpha, 0.0f);
    EXPECT_FLOAT_EQ(at(W::Noname, 155970).final.alpha, 1.0f);
    EXPECT_EQ(at(W::Noname2, 156000).scene.mode, 1);
    EXPECT_FLOAT_EQ(at(W::Noname2, 156000).final.alpha, 1.0f);
    WindowValues g = at(W::Greetings, 168000);
    EXPECT_FLOAT_EQ(g.final.alpha, 1.0f);
    EXPECT_TRUE(g.overlays.glow);
    EXPECT_TRUE(g.overlays.greetingNames);
}

TEST(ShowTable, TheRecallFadesToBlackWhileItsBiasGrows)
{
    WindowValues half = at(W::Rappel, 198000); // r = 0.5
    EXPECT_FLOAT_EQ(half.final.alpha, 0.5f);
    EXPECT_FLOAT_EQ(half.final.saturation, 0.925f);
    EXPECT_FLOAT_EQ(half.final.bias, 0.01135f + 0.0375f);
    EXPECT_EQ(half.overlays.creditsPage, 0);
    EXPECT_EQ(half.scene.mode, 1);
    // Should a script lay the quotation over the recall, its saturation rule wins.
    MarkerWindows overlapping = windowsFrom("citation.end 200000\n");
    EXPECT_FLOAT_EQ(windowValues(W::Rappel, 198000, overlapping).final.saturation, 1.35f);
}
