#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/bounded_queue.h"

namespace {

// Long enough for a thread that is not held back to have gone on.
void letOthersRun()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

} // namespace

TEST(BoundedQueue, NeverHoldsMoreThanItsSizeAPushBeyondItWaitsForATake)
{
    BoundedQueue<int> queue(3);
    std::atomic<int> pushed{0};
    std::thread producer([&] {
        for (int k = 0; k < 5; ++k) {
            queue.push(k);
            ++pushed;
        }
    });
    letOthersRun();
    EXPECT_EQ(pushed, 3);
    EXPECT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue.pop(), 0);
    letOthersRun();
    EXPECT_EQ(pushed, 4);
    EXPECT_EQ(queue.size(), 3u);
    for (int k = 1; k < 5; ++k)
        EXPECT_EQ(queue.pop(), k);
    producer.join();
}
