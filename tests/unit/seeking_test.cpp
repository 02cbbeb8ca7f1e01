#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "script_windows.h"
#include "timeline/seeking.h"

namespace {

const MarkerWindows kShow = windowsFrom("");

} // namespace

TEST(Seeking, FiveSecondStepsStopAtZeroAndAtTheStartOfTheShowsEnd)
{
    // t, step, where it lands with the built-in times (demoend starts at 203000).
    const int32_t cases[][3] = {{30000, -5000, 25000}, {3000, -5000, 0},          {200000, 5000, 203000},
                                {INT32_MAX, 5000, 203000}, {INT32_MIN, -5000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(seekTarget(c[0], c[1], kShow), c[2]) << c[0] << " " << c[1];
    // The end follows the script.
    EXPECT_EQ(seekTarget(4000, 5000, windowsFrom("demoend.start 6000")), 6000);
}

TEST(Seeking, PageDownFromZeroVisitsEveryDistinctWindowStartOnceInOrderThenStaysAtTheEnd)
{
    std::vector<int32_t> starts;
    for (const TimeWindow& w : kShow.windows)
        if (w.start > 0)
            starts.push_back(w.start);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());

    std::vector<int32_t> visited;
    for (int32_t t = 0; t != 203000; visited.push_back(t))
        t = nextWindowStart(t, kShow);
    EXPECT_EQ(visited, starts);
    EXPECT_EQ(nextWindowStart(250000, kShow), 203000);
    // A start the script puts past the end is never reached.
    EXPECT_EQ(nextWindowStart(195000, windowsFrom("rappel.start 300000")), 203000);
}

TEST(Seeking, PageUpGoesToTheRunningWindowsStartOnceASecondIntoItElseToTheOneBefore)
{
    const int32_t cases[][2] = {{37000, 36000}, {36999, 24060}, {6499, 0}, {0, 0}, {250000, 203000}};
    for (const auto& c : cases)
        EXPECT_EQ(previousWindowStart(c[0], kShow), c[1]) << c[0];
    // Starts before 0 or past the end of a script are never landed on.
    MarkerWindows odd = windowsFrom("citation2.start -5000 roots.start 300000");
    EXPECT_EQ(previousWindowStart(11000, odd), 0);
    EXPECT_EQ(previousWindowStart(400000, odd), 203000);
}
