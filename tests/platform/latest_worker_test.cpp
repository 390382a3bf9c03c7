// Work of which only the newest request matters: superseded requests are dropped or stopped, the
// newest one's result alone is kept, failures are told, and going away stops the running work.
#include "platform/latest_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace pigmentaria {
namespace {

using namespace std::chrono_literals;

// Records the ready calls and lets a test wait for them.
struct TReady {
    void operator()() {
        std::lock_guard lock(Mutex);
        ++Calls;
        Threads.push_back(std::this_thread::get_id());
        Changed.notify_all();
    }
    bool WaitFor(int calls) {
        std::unique_lock lock(Mutex);
        return Changed.wait_for(lock, 10s, [&] { return Calls >= calls; });
    }
    int Count() {
        std::lock_guard lock(Mutex);
        return Calls;
    }
    std::mutex Mutex;
    std::condition_variable Changed;
    int Calls = 0;
    std::vector<std::thread::id> Threads;
};

// Work that reports progress until `release` is set or it is told to stop.
int Held(IProgressSink& progress, const std::atomic<bool>& release, std::atomic<int>& started,
         int value) {
    ++started;
    TProgressRun run(progress, "Holding...", 0, 1);
    while (!release) {
        run.Step(0);
        std::this_thread::sleep_for(1ms);
    }
    return value;
}

TEST(LatestWorkerTest, TheNewestRequestsResultAloneIsKept) {
    TReady ready;
    TLatestWorker<int> worker([&] { ready(); });
    EXPECT_FALSE(worker.Take());
    EXPECT_FALSE(worker.Busy());
    EXPECT_EQ(worker.Request([](IProgressSink&) { return 7; }), 1u);
    ASSERT_TRUE(ready.WaitFor(1));
    EXPECT_NE(ready.Threads[0], std::this_thread::get_id());
    EXPECT_EQ(worker.Take(), 7);
    EXPECT_FALSE(worker.Take()) << "taken once";

    // A running request that a newer one supersedes is stopped at its next report; the requests
    // that came meanwhile and were replaced never run.
    std::atomic<bool> release{false};
    std::atomic<int> started{0}, replacedRuns{0};
    worker.Request([&](IProgressSink& p) { return Held(p, release, started, 1); });
    while (started == 0)
        std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(worker.Busy());
    for (int i = 0; i < 5; ++i)
        worker.Request([&](IProgressSink&) { return ++replacedRuns, -1; });
    std::atomic<bool> lastRelease{false};
    std::atomic<int> lastStarted{0};
    EXPECT_EQ(
        worker.Request([&](IProgressSink& p) { return Held(p, lastRelease, lastStarted, 42); }),
        8u);
    while (lastStarted == 0)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(started.load(), 1);
    EXPECT_EQ(replacedRuns.load(), 0);
    EXPECT_FALSE(worker.Take()) << "the newest request still runs";
    EXPECT_EQ(ready.Count(), 1) << "the stopped request tells nothing";
    lastRelease = true;
    ASSERT_TRUE(ready.WaitFor(2));
    EXPECT_EQ(worker.Take(), 42);
    EXPECT_FALSE(worker.Busy());
}

TEST(LatestWorkerTest, AResultThatCameTooLateIsDropped) {
    TReady ready;
    TLatestWorker<int> worker([&] { ready(); });
    // Work that does not listen ends with its result after a newer request came: it is not the
    // newest one's and goes.
    std::atomic<bool> go{false};
    std::atomic<int> started{0};
    worker.Request([&](IProgressSink&) {
        ++started;
        while (!go)
            std::this_thread::sleep_for(1ms);
        return 1;
    });
    while (started == 0)
        std::this_thread::sleep_for(1ms);
    worker.Request([](IProgressSink&) { return 2; });
    go = true;
    ASSERT_TRUE(ready.WaitFor(1));
    EXPECT_EQ(worker.Take(), 2);
    EXPECT_EQ(ready.Count(), 1);
}

TEST(LatestWorkerTest, AFailureIsToldAndTheNextRequestClearsIt) {
    TReady ready;
    TLatestWorker<int> worker([&] { ready(); });
    worker.Request([](IProgressSink&) -> int { throw std::runtime_error("no paper"); });
    ASSERT_TRUE(ready.WaitFor(1));
    EXPECT_FALSE(worker.Take());
    EXPECT_EQ(worker.Failure(), "no paper");
    worker.Request([](IProgressSink&) { return 3; });
    ASSERT_TRUE(ready.WaitFor(2));
    EXPECT_EQ(worker.Failure(), "");
    EXPECT_EQ(worker.Take(), 3);
}

TEST(LatestWorkerTest, DroppingStopsTheRunningWorkAndKeepsNothing) {
    TReady ready;
    TLatestWorker<int> worker([&] { ready(); });
    std::atomic<bool> never{false};
    std::atomic<int> started{0}, ran{0};
    worker.Request([&](IProgressSink& p) { return Held(p, never, started, 1); });
    while (started == 0)
        std::this_thread::sleep_for(1ms);
    worker.Drop();
    while (worker.Busy())
        std::this_thread::sleep_for(1ms);
    EXPECT_FALSE(worker.Take());
    EXPECT_EQ(ready.Count(), 0);
    // A finished result goes too, and work asked after runs as before.
    worker.Request([&](IProgressSink&) { return ++ran; });
    ASSERT_TRUE(ready.WaitFor(1));
    worker.Drop();
    EXPECT_FALSE(worker.Take());
    worker.Request([&](IProgressSink&) { return 10 + ++ran; });
    ASSERT_TRUE(ready.WaitFor(2));
    EXPECT_EQ(worker.Take(), 12);
}

TEST(LatestWorkerTest, GoingAwayStopsTheRunningWork) {
    std::atomic<bool> never{false};
    std::atomic<int> started{0};
    std::atomic<bool> told{false};
    const auto begun = std::chrono::steady_clock::now();
    {
        TLatestWorker<int> worker([&] { told = true; });
        worker.Request([&](IProgressSink& p) { return Held(p, never, started, 1); });
        while (started == 0)
            std::this_thread::sleep_for(1ms);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 5s);
    EXPECT_FALSE(told);
}

} // namespace
} // namespace pigmentaria
