#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "core/bounded_queue.h"

namespace {

// Long enough for a thread that is not held back to have pushed.
void letOthersRun()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

} // namespace

TEST(BoundedQueue, APushBeyondTheSizeWaitsUntilAnItemIsTaken)
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
    EXPECT_EQ(queue.pop(), 1);
    EXPECT_EQ(queue.pop(), 2);
    producer.join();
    EXPECT_EQ(queue.pop(), 3);
    EXPECT_EQ(queue.pop(), 4);
    EXPECT_EQ(queue.size(), 0u);
}

TEST(BoundedQueue, AFastProducerAndSlowConsumersKeepTheOrderAndNeverExceedTheSize)
{
    BoundedQueue<int> queue(4);
    std::atomic<size_t> largest{0};
    std::vector<std::vector<int>> taken(2);
    std::vector<std::thread> consumers;
    for (auto& mine : taken)
        consumers.emplace_back([&] {
            while (std::optional<int> item = queue.pop()) {
                mine.push_back(*item);
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
    for (int k = 0; k < 500; ++k) {
        ASSERT_TRUE(queue.push(k));
        size_t now = queue.size();
        for (size_t seen = largest; now > seen && !largest.compare_exchange_weak(seen, now);) {
        }
    }
    queue.close();
    for (std::thread& consumer : consumers)
        consumer.join();
    EXPECT_LE(largest, 4u);
    EXPECT_EQ(largest, 4u) << "the slow consumers let the queue fill";
    EXPECT_EQ(taken[0].size() + taken[1].size(), 500u);
    for (const auto& mine : taken)
        EXPECT_TRUE(std::is_sorted(mine.begin(), mine.end())) << "each consumer takes items in order";
}

TEST(BoundedQueue, ClosingWakesAWaitingProducerAndLetsWhatIsQueuedBeTaken)
{
    BoundedQueue<int> queue(1);
    queue.push(7);
    std::atomic<int> refused{-1};
    std::thread producer([&] { refused = queue.push(8) ? 0 : 1; });
    letOthersRun();
    queue.close();
    producer.join();
    EXPECT_EQ(refused, 1);
    EXPECT_FALSE(queue.push(9));
    EXPECT_EQ(queue.pop(), 7);
    EXPECT_EQ(queue.pop(), std::nullopt);
}

TEST(BoundedQueue, AbandoningDropsWhatIsQueuedAndWakesAWaitingConsumer)
{
    BoundedQueue<int> queue(2);
    queue.push(1);
    queue.push(2);
    queue.abandon();
    EXPECT_EQ(queue.pop(), std::nullopt);

    BoundedQueue<int> empty(2);
    std::thread consumer([&] { EXPECT_EQ(empty.pop(), std::nullopt); });
    letOthersRun();
    empty.abandon();
    consumer.join();
}
