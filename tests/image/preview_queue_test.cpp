#include "image/preview_queue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace pigmentaria {
namespace {

using TQueue = TLatestOnlyQueue<int>;

TEST(PreviewQueueTest, OneRunsTheLastWaitsAndOnlyTheLatestIsShown) {
    TQueue q;
    const auto first = q.Submit(1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Value, 1);
    EXPECT_TRUE(q.Running());
    // Requests while it runs wait, each replacing the one before.
    EXPECT_FALSE(q.Submit(2));
    EXPECT_FALSE(q.Submit(3));
    EXPECT_TRUE(q.Overtaken(first->Generation));
    const TQueue::TDone done = q.Finished(first->Generation);
    EXPECT_FALSE(done.Adopt); // stale: settings 3 came meanwhile
    ASSERT_TRUE(done.Next);
    EXPECT_EQ(done.Next->Value, 3);
    EXPECT_FALSE(q.Overtaken(done.Next->Generation));
    const TQueue::TDone last = q.Finished(done.Next->Generation);
    EXPECT_TRUE(last.Adopt);
    EXPECT_FALSE(last.Next);
    EXPECT_FALSE(q.Running());
    // Idle again: the next request starts at once.
    EXPECT_TRUE(q.Submit(4));
}

TEST(PreviewQueueTest, CancelDropsTheWaitingRequestAndTheRunningResult) {
    TQueue q;
    const auto running = q.Submit(1);
    q.Submit(2);
    q.Cancel();
    EXPECT_TRUE(q.Overtaken(running->Generation));
    const TQueue::TDone done = q.Finished(running->Generation);
    EXPECT_FALSE(done.Adopt);
    EXPECT_FALSE(done.Next);
    EXPECT_FALSE(q.Running());
}

// A slider dragged through 200 positions while each computation takes a while: the window never
// waits, few computations run, and what it shows at the end is the last position's result.
TEST(PreviewQueueTest, ADraggedSliderEndsOnItsLastPositionWithoutBlocking) {
    TQueue q;
    std::mutex mutex;
    std::deque<std::pair<std::uint64_t, int>> results; // posted back to the "window"
    std::vector<std::jthread> workers;
    int computations = 0;
    const auto start = [&](const TQueue::TTicket& t) {
        ++computations;
        workers.emplace_back([&, t] {
            // Gives up early when overtaken, as the filter previews do between rows.
            for (int row = 0; row < 20 && !q.Overtaken(t.Generation); ++row)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            std::lock_guard lock(mutex);
            results.emplace_back(t.Generation, t.Value * 10);
        });
    };
    int shown = -1;
    const auto pump = [&] {
        std::unique_lock lock(mutex);
        while (!results.empty()) {
            const auto [generation, value] = results.front();
            results.pop_front();
            lock.unlock();
            const TQueue::TDone done = q.Finished(generation);
            if (done.Adopt) shown = value;
            if (done.Next) start(*done.Next);
            lock.lock();
        }
    };
    for (int position = 0; position < 200; ++position) {
        const auto submitStarted = std::chrono::steady_clock::now();
        if (auto t = q.Submit(position)) start(*t);
        EXPECT_LT(std::chrono::steady_clock::now() - submitStarted, std::chrono::milliseconds(5));
        pump();
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    while (q.Running()) {
        pump();
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    EXPECT_EQ(shown, 1990);
    EXPECT_LT(computations, 200);
}

} // namespace
} // namespace pigmentaria
