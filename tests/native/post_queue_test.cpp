// Work posted from many threads reaches the owner's thread whole and in each poster's order,
// and closing runs what was posted before it and refuses the rest.
#include "ui/post_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <thread>
#include <vector>

namespace {

TEST(PostQueue, WorkFromManyThreadsRunsOnTheOwnerInEachThreadsOrderAndCloseDropsNothingPostedBefore) {
    // The owner's thread runs the queue whenever woken, like a window's message loop.
    std::mutex wakeMutex;
    std::condition_variable woken;
    int wakes = 0;
    ui::PostQueue queue([&] {
        std::lock_guard lock(wakeMutex);
        ++wakes;
        woken.notify_one();
    });
    const ui::Poster poster(std::shared_ptr<ui::PostQueue>(&queue, [](ui::PostQueue*) {}));

    constexpr int kThreads = 4, kEach = 2000;
    std::map<int, std::vector<int>> seen;  // touched only on the owner's thread
    const std::thread::id owner = std::this_thread::get_id();
    std::atomic<int> wrongThread = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t)
        workers.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i)
                ASSERT_TRUE(poster.Post([&, t, i] {
                    if (std::this_thread::get_id() != owner) ++wrongThread;
                    seen[t].push_back(i);
                }));
        });
    std::atomic<bool> postersDone = false;
    std::thread joiner([&] {
        for (auto& worker : workers) worker.join();
        postersDone = true;
        std::lock_guard lock(wakeMutex);
        woken.notify_one();
    });
    while (!postersDone) {
        {
            std::unique_lock lock(wakeMutex);
            woken.wait_for(lock, std::chrono::milliseconds(5));
        }
        queue.RunPending();
    }
    joiner.join();
    // Posted before the close, not yet run: the close runs it; after the close, refused.
    bool lastRan = false;
    ASSERT_TRUE(poster.Post([&] { lastRan = true; }));
    queue.Close();
    EXPECT_TRUE(lastRan);
    EXPECT_FALSE(poster.Post([] { FAIL() << "ran after the close"; }));
    queue.RunPending();

    EXPECT_EQ(wrongThread, 0);
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(kEach)) << "thread " << t;
        for (int i = 0; i < kEach; ++i) ASSERT_EQ(seen[t][i], i) << "thread " << t;
    }
    // Woken far less often than posted to: one wake stands for all the work it finds.
    EXPECT_LT(wakes, kThreads * kEach);
}

TEST(PostQueue, WorkThatRunsTheQueueAgainInsideItKeepsTheOrder) {
    // A piece that opens a box runs the message loop, and with it the queue, inside itself.
    ui::PostQueue queue(nullptr);
    std::vector<int> order;
    queue.Post([&] {
        order.push_back(1);
        queue.Post([&] { order.push_back(4); });
        queue.RunPending();
    });
    queue.Post([&] { order.push_back(2); });
    queue.Post([&] { order.push_back(3); });
    queue.RunPending();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
}

}  // namespace
