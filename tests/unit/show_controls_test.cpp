// The pure parts behind the viewer's controls: the info band's line, the
// frame clock leaving a pause out, and the silent music clock pausing and seeking.
#include <gtest/gtest.h>

#include <unistd.h>

#include "app/info_band.h"
#include "core/frame_timer.h"
#include "script_windows.h"
#include "sound/sound_manager.h"

TEST(InfoBand, TheLineHoldsTheTimeEveryRunningWindowWithItsRampAndTheRate)
{
    const MarkerWindows show = windowsFrom("");
    EXPECT_EQ(infoBandText(40000, show, 24.46, false),
              "40000 MS  OU_GIT_LA_BETE 0.25 DIRECTORCUT 0.33 LINKBEAST2 0.00  24.5 FPS");
    EXPECT_EQ(infoBandText(5500, show, -1.0, false), "5500 MS  CITATION 1.00 CITATION2 0.00  -- FPS");
    EXPECT_EQ(infoBandText(250000, show, 3.0, true), "250000 MS   PAUSED");
}

TEST(InfoBand, AccentedNamesLoseTheirAccentsSoThatTheFontDrawsThem)
{
    EXPECT_EQ(bandName("la_b\xC3\xAAte_se_d\xC3\xA9" "cha\xC3\xAEne"), "la_bete_se_dechaine");
    EXPECT_EQ(bandName("\xC3\x80\xC3\x87\xC3\xBF"), "ACy");
    EXPECT_EQ(bandName("a\xE2\x82\xAC"), "a???"); // outside Latin-1: one mark a byte
}

TEST(FrameTimer, ATimeLeftOutIsNeitherElapsedNorADelta)
{
    FrameTimer t;
    t.updateAt(10.0f);
    t.updateAt(11.0f);
    t.leaveOut(5.0f); // paused from 11 to 16
    t.updateAt(16.5f);
    EXPECT_EQ((std::vector<float>{t.elapsed, t.delta}), (std::vector<float>{1.5f, 0.5f}));
}

TEST(SoundManager, WithoutMusicTheClockStandsStillWhilePausedAndSeeksExactly)
{
    SoundManager sound(false);
    sound.startAt(30000);
    ASSERT_EQ(sound.play("no/such/music.ogg", true), -1);
    sound.pause();
    int32_t held = sound.time();
    EXPECT_GE(held, 30000);
    usleep(60 * 1000);
    EXPECT_EQ(sound.time(), held);
    // A seek while paused shows at once and the clock goes on from there.
    sound.seek(90000);
    EXPECT_EQ(sound.time(), 90000);
    sound.resume();
    usleep(60 * 1000);
    EXPECT_GE(sound.time(), 90050);
    EXPECT_LT(sound.time(), 95000);
    // Running, a seek back moves the clock back.
    sound.seek(1000);
    EXPECT_LT(sound.time(), 5000);
}
