#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "sound/beat_envelope.h"

namespace {

std::unique_ptr<BeatEnvelope> beast() { return std::unique_ptr<BeatEnvelope>(makeBeastEnvelope()); }
std::unique_ptr<BeatEnvelope> mist() { return std::unique_ptr<BeatEnvelope>(makeMistEnvelope()); }

// Asks the envelope at each time in turn (asking fires beats) and checks the value.
void expectValues(BeatEnvelope& e, const std::vector<std::pair<int32_t, float>>& timesAndValues)
{
    for (auto [t, value] : timesAndValues)
        EXPECT_FLOAT_EQ(e.value(t), value) << "at " << t;
}

} // namespace

TEST(BeatEnvelope, ABeatFiresWhenFirstAskedInItsWindowAndFallsOverItsDuration)
{
    // Fires at 36470; 37120 opens the second beat.
    expectValues(*beast(), {{36370 + 100, 1.0f}, {36670, 0.5f}, {36870, 0.0f}, {37120, 1.0f}});
}

TEST(BeatEnvelope, TheCatchWindowIncludesBothEndsAndEachBeatFiresOnceOrNever)
{
    // 37370 is the last moment of the second beat's window.
    expectValues(*beast(), {{36370 + 251, 0.0f}, {36700, 0.0f}, {37119, 0.0f}, {37370, 1.0f}, {37570, 0.5f}});
    expectValues(*beast(), {{36369, 0.0f}, {36370, 1.0f}, {36570, 0.5f}, {36620, 0.375f}});
    expectValues(*beast(), {{36620, 1.0f}, {36820, 0.5f}});
}

TEST(BeatEnvelope, TheMistBreakAt22870StaysDark)
{
    auto e = mist();
    for (int32_t t = 12370; t <= 22720; t += 17)
        e->value(t);
    for (int32_t t = 22720; t <= 23619; ++t)
        ASSERT_FLOAT_EQ(e->value(t), 0.0f) << t;
    expectValues(*e, {{23620, 1.0f}, {23795, 0.5f}}); // 350 ms falls
}

TEST(BeatEnvelope, TheBuildersHoldTheShowsBeatsUpToTheLast)
{
    auto m = mist();
    auto b = beast();
    EXPECT_EQ((std::vector<int>{m->capacity, m->count, m->mode, b->capacity, b->count}),
              (std::vector<int>{31, 31, 0, 48, 48}));
    expectValues(*b, {{71620, 1.0f}, {71820, 0.5f}});
    expectValues(*m, {{35620, 1.0f}, {36370, 0.0f}});
}

TEST(BeatEnvelope, BeatsPastTheCapacityAreCountedButNotKept)
{
    BeatEnvelope none(0, 0);
    none.add(1000, 400);
    EXPECT_EQ(none.count, 1);
    expectValues(none, {{0, 0.0f}, {1000, 0.0f}, {1100, 0.0f}});

    BeatEnvelope two(2, 0);
    for (int32_t t : {1000, 2000, 3000})
        two.add(t, 400);
    EXPECT_EQ(two.count, 3);
    expectValues(two, {{3000, 0.0f}, {3100, 0.0f}, {2000, 1.0f}});
}

TEST(BeatEnvelope, TheLastFiredSlotInSlotOrderDecides)
{
    // Overlapping beats: slot 0 (long) fires after slot 1 (short) in time, yet
    // slot 1 decides: 0.5 where slot 0 would give 1, then 0 where it would give 0.9.
    BeatEnvelope e(2, 0);
    e.add(1100, 1000);
    e.add(1000, 200);
    expectValues(e, {{1000, 1.0f}, {1100, 0.5f}, {1200, 0.0f}});
}

TEST(BeatEnvelope, TheValueIsOneWhenTheMusicLoopsBackBeforeTheLastFiring)
{
    // At 120 the music started again.
    expectValues(*beast(),
                 {{36400, 1.0f}, {37000, 0.0f}, {120, 1.0f}, {36300, 1.0f}, {36400, 1.0f}, {36600, 0.5f}});
}

TEST(BeatEnvelope, AZeroDurationBeatGivesOneOnlyAtItsFiring)
{
    BeatEnvelope e(1, 0);
    e.add(500, 0);
    expectValues(e, {{600, 1.0f}, {601, 0.0f}});
}
