#include <gtest/gtest.h>

#include <memory>

#include "sound/beat_envelope.h"

namespace {

std::unique_ptr<BeatEnvelope> beast()
{
    return std::unique_ptr<BeatEnvelope>(makeBeastEnvelope());
}

std::unique_ptr<BeatEnvelope> mist()
{
    return std::unique_ptr<BeatEnvelope>(makeMistEnvelope());
}

} // namespace

TEST(BeatEnvelope, ABeatFiresWhenFirstAskedInItsWindowAndFallsOverItsDuration)
{
    auto e = beast();
    EXPECT_FLOAT_EQ(e->value(36370 + 100), 1.0f); // fires at 36470
    EXPECT_FLOAT_EQ(e->value(36670), 0.5f);
    EXPECT_FLOAT_EQ(e->value(36870), 0.0f);
    for (int32_t t = 36870; t < 37120; t += 10)
        EXPECT_FLOAT_EQ(e->value(t), 0.0f) << t;
    EXPECT_FLOAT_EQ(e->value(37120), 1.0f); // the second beat
}

TEST(BeatEnvelope, ABeatFirstAskedAfterItsWindowNeverFires)
{
    auto e = beast();
    EXPECT_FLOAT_EQ(e->value(36370 + 251), 0.0f);
    EXPECT_FLOAT_EQ(e->value(36700), 0.0f);
    EXPECT_FLOAT_EQ(e->value(37119), 0.0f);
    EXPECT_FLOAT_EQ(e->value(37370), 1.0f); // the last moment of the second window
    EXPECT_FLOAT_EQ(e->value(37570), 0.5f);
}

TEST(BeatEnvelope, TheCatchWindowIncludesBothEnds)
{
    auto atStart = beast();
    EXPECT_FLOAT_EQ(atStart->value(36369), 0.0f);
    EXPECT_FLOAT_EQ(atStart->value(36370), 1.0f);
    auto atEnd = beast();
    EXPECT_FLOAT_EQ(atEnd->value(36620), 1.0f);
    EXPECT_FLOAT_EQ(atEnd->value(36820), 0.5f);
}

TEST(BeatEnvelope, EachBeatFiresOnlyOnce)
{
    auto e = beast();
    e->value(36370);
    EXPECT_FLOAT_EQ(e->value(36570), 0.5f); // still in the window, but no second firing
    EXPECT_FLOAT_EQ(e->value(36620), 0.375f);
}

TEST(BeatEnvelope, TheMistBreakAt22870StaysDark)
{
    auto e = mist();
    for (int32_t t = 12370; t <= 22720; t += 17)
        e->value(t);
    for (int32_t t = 22720; t <= 23619; ++t)
        ASSERT_FLOAT_EQ(e->value(t), 0.0f) << t;
    EXPECT_FLOAT_EQ(e->value(23620), 1.0f);
    EXPECT_FLOAT_EQ(e->value(23795), 0.5f); // 350 ms falls
}

TEST(BeatEnvelope, TheBuildersHoldTheShowsBeats)
{
    auto m = mist();
    EXPECT_EQ(m->capacity, 31);
    EXPECT_EQ(m->count, 31);
    EXPECT_EQ(m->mode, 0);
    auto b = beast();
    EXPECT_EQ(b->capacity, 48);
    EXPECT_EQ(b->count, 48);
    // The last beast beat, at 71620.
    EXPECT_FLOAT_EQ(b->value(71620), 1.0f);
    EXPECT_FLOAT_EQ(b->value(71820), 0.5f);
    // The last mist beat, at 35620, and nothing after it.
    EXPECT_FLOAT_EQ(m->value(35620), 1.0f);
    EXPECT_FLOAT_EQ(m->value(36370), 0.0f);
}

TEST(BeatEnvelope, ACapacityOfZeroGivesZero)
{
    BeatEnvelope e(0, 0);
    e.add(1000, 400);
    EXPECT_EQ(e.count, 1);
    EXPECT_FLOAT_EQ(e.value(0), 0.0f);
    EXPECT_FLOAT_EQ(e.value(1000), 0.0f);
    EXPECT_FLOAT_EQ(e.value(1100), 0.0f);
}

TEST(BeatEnvelope, BeatsPastTheCapacityAreCountedButNotKept)
{
    BeatEnvelope e(2, 0);
    e.add(1000, 400);
    e.add(2000, 400);
    e.add(3000, 400);
    EXPECT_EQ(e.count, 3);
    EXPECT_FLOAT_EQ(e.value(3000), 0.0f);
    EXPECT_FLOAT_EQ(e.value(3100), 0.0f);
    EXPECT_FLOAT_EQ(e.value(2000), 1.0f);
}

TEST(BeatEnvelope, TheLastFiredSlotInSlotOrderDecides)
{
    // Overlapping beats: slot 0 (long) fires after slot 1 (short) in time, yet slot 1 decides.
    BeatEnvelope e(2, 0);
    e.add(1100, 1000);
    e.add(1000, 200);
    EXPECT_FLOAT_EQ(e.value(1000), 1.0f); // slot 1 fires
    EXPECT_FLOAT_EQ(e.value(1100), 0.5f); // slot 0 fires (would be 1) but slot 1 reads 0.5
    EXPECT_FLOAT_EQ(e.value(1200), 0.0f); // slot 1 has died away; slot 0 alone would be 0.9
}

TEST(BeatEnvelope, TheValueIsOneWhenTheMusicLoopsBackBeforeTheLastFiring)
{
    auto e = beast();
    EXPECT_FLOAT_EQ(e->value(36400), 1.0f);
    EXPECT_FLOAT_EQ(e->value(37000), 0.0f);
    EXPECT_FLOAT_EQ(e->value(120), 1.0f); // the music started again
    EXPECT_FLOAT_EQ(e->value(36300), 1.0f);
    EXPECT_FLOAT_EQ(e->value(36400), 1.0f);
    EXPECT_FLOAT_EQ(e->value(36600), 0.5f);
}

TEST(BeatEnvelope, AZeroDurationBeatGivesOneOnlyAtItsFiring)
{
    BeatEnvelope e(1, 0);
    e.add(500, 0);
    EXPECT_FLOAT_EQ(e.value(600), 1.0f);
    EXPECT_FLOAT_EQ(e.value(601), 0.0f);
}
