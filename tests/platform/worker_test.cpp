// Work on a thread of its own: the result or the failure handed over, progress crossing to the
// GUI thread in order, and the two ways of stopping it.
#include "platform/worker.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>

namespace pigmentaria::test {
namespace {

// Counts rows up to `rows`, reporting each; the result is the sum of the row numbers.
long CountRows(IProgressSink& progress, int rows) {
    TProgressRun run(progress, "Counting...", 0, rows);
    long sum = 0;
    for (int y = 1; y <= rows; ++y) {
        sum += y;
        run.Step(y);
    }
    return sum;
}

TEST(WorkerJobTest, ResultAndProgressReachTheGuiThread) {
    std::atomic<int> wakes{0}, finished{0};
    std::thread::id workerThread;
    auto owned = std::make_unique<int>(300); // move-only work
    TWorkerJob<long> job(
        [rows = std::move(owned), &workerThread](IProgressSink& p) {
            workerThread = std::this_thread::get_id();
            return CountRows(p, *rows);
        },
        [&] { ++finished; }, [&] { ++wakes; });
    TWindowProgress window;
    PumpUntilFinished(job, window);
    EXPECT_EQ(job.TakeResult(), 300L * 301 / 2);
    EXPECT_EQ(finished.load(), 1);
    EXPECT_GE(wakes.load(), 1);
    EXPECT_NE(workerThread, std::this_thread::get_id());
    // Every call of the window was on this thread, the run whole and in order.
    EXPECT_EQ(window.ForeignCalls, 0);
    EXPECT_EQ(window.Runs, std::vector<std::string>{"Counting..."});
    EXPECT_EQ(window.Max, 300);
    EXPECT_EQ(window.Last, 300);
    EXPECT_GE(window.Positions, 1);
    EXPECT_EQ(window.Finishes, 1);
}

TEST(WorkerJobTest, AFailureIsRethrownWhereTheResultIsTaken) {
    TWorkerJob<int> job([](IProgressSink&) -> int { throw std::runtime_error("no room"); });
    job.Wait();
    EXPECT_TRUE(job.Finished());
    try {
        job.TakeResult();
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "no room");
    }
}

TEST(WorkerJobTest, TheWindowOrTheCallerStopsTheWork) {
    // The window answers "stop" half-way.
    {
        TWorkerJob<long> job([](IProgressSink& p) {
            THalfwayWait wait(p, "Counting...");
            return CountRows(wait, 1000);
        });
        TWindowProgress window;
        window.StopIn = "Counting...";
        PumpUntilFinished(job, window);
        EXPECT_THROW(job.TakeResult(), EAborted);
        EXPECT_LT(window.Last, 1000);
        EXPECT_EQ(window.Finishes, 1); // the window still hears the end of the run
        EXPECT_EQ(window.ForeignCalls, 0);
    }
    // Cancel from the GUI thread, without any window.
    {
        std::atomic<bool> running{false};
        TWorkerJob<long> job([&](IProgressSink& p) {
            running = true;
            TProgressRun run(p, "Forever", 0, 1);
            for (;;) {
                run.Step(0);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return 0L;
        });
        while (!running)
            std::this_thread::yield();
        job.RequestAbort();
        EXPECT_THROW(job.TakeResult(), EAborted);
    }
    // A job that goes away unfinished stops its work and waits for it.
    {
        std::atomic<bool> stopped{false};
        {
            TWorkerJob<int> job([&](IProgressSink& p) {
                try {
                    for (;;)
                        if (p.Position(0)) throw EAborted();
                } catch (const EAborted&) {
                    stopped = true;
                    throw;
                }
                return 0;
            });
        }
        EXPECT_TRUE(stopped.load());
    }
}

TEST(ProgressMailboxTest, EventsKeepTheirOrderAndPilingPositionsMerge) {
    TProgressMailbox mailbox;
    mailbox.Start("One", 0, 10);
    for (int i = 1; i <= 5; ++i)
        EXPECT_FALSE(mailbox.Position(i));
    mailbox.Finish();
    mailbox.Start("Two", 5, 7);
    mailbox.Position(6);
    TRecordingProgress window;
    mailbox.DeliverTo(window);
    EXPECT_EQ(window.Messages, (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(window.Finishes, 1);
    EXPECT_EQ(window.Positions, std::vector<int>{6}); // "Two"'s only position
    EXPECT_EQ(window.Min, 5);
    // Nothing is handed over twice.
    mailbox.DeliverTo(window);
    EXPECT_EQ(window.Starts, 2);
    // A window that asks to stop: the next position on the worker's side says so.
    window.AbortAt = 0;
    mailbox.Position(7);
    mailbox.DeliverTo(window);
    EXPECT_TRUE(mailbox.AbortRequested());
    EXPECT_TRUE(mailbox.Position(7));
}

TEST(ProgressMailboxTest, OneWakeUntilTheGuiThreadHasLooked) {
    int wakes = 0;
    TProgressMailbox mailbox([&] { ++wakes; });
    mailbox.Start("x", 0, 3);
    mailbox.Position(1);
    mailbox.Position(2);
    EXPECT_EQ(wakes, 1);
    TNullProgress window;
    mailbox.DeliverTo(window);
    mailbox.Finish();
    EXPECT_EQ(wakes, 2);
}

TEST(ProgressRunTest, FinishesHoweverTheWorkEnds) {
    TRecordingProgress progress;
    progress.AbortAt = 2;
    EXPECT_THROW(CountRows(progress, 10), EAborted);
    EXPECT_EQ(progress.Positions, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(progress.Finishes, 1);
    TCollectedMessages collected(false);
    collected.Warning("w");
    EXPECT_FALSE(collected.Confirm("Go on?"));
    collected.Error("e");
    TRecordingMessages shown;
    ReplayMessages(collected.Take(), shown);
    EXPECT_EQ(shown.Warnings, (std::vector<std::string>{"w", "Go on?"}));
    EXPECT_EQ(shown.Errors, std::vector<std::string>{"e"});
    EXPECT_TRUE(shown.Questions.empty());
    EXPECT_TRUE(collected.Messages().empty());
}

} // namespace
} // namespace pigmentaria::test
