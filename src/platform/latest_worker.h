#pragma once
// Work of which only the newest request matters, such as a report that follows what the user
// is changing: one thread of its own runs the requests one after another. A request replaces
// the one still waiting, and the one running is asked to stop at its next progress report; the
// result that is kept is the newest request's alone. The GUI thread never waits for it: the
// worker calls `ready` when that result (or its failure) is there: post a queued call that
// takes it. Destroying the worker asks the running work to stop and waits for it.
#include "platform/report.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace pigmentaria {

template <class Result> class TLatestWorker {
public:
    using TWork = std::function<Result(IProgressSink&)>;

    explicit TLatestWorker(std::function<void()> ready = {})
        : Ready_(std::move(ready)), Thread_([this] { Loop(); }) {}
    ~TLatestWorker() {
        {
            std::lock_guard lock(Mutex_);
            Quit_ = true;
        }
        Wake_.notify_all();
        Thread_.join();
    }
    TLatestWorker(const TLatestWorker&) = delete;
    TLatestWorker& operator=(const TLatestWorker&) = delete;

    // Any thread: the work to do next, in place of any request not yet done. Returns the
    // request's number (1, 2, ...).
    std::uint64_t Request(TWork work) {
        std::uint64_t number;
        {
            std::lock_guard lock(Mutex_);
            number = ++Latest_;
            Waiting_ = std::move(work);
            Kept_.reset();
            Failure_.clear();
        }
        Wake_.notify_all();
        return number;
    }

    // Any thread: no report is wanted any more; the waiting request goes, the running one is
    // asked to stop, and nothing is kept.
    void Drop() {
        std::lock_guard lock(Mutex_);
        ++Latest_;
        Waiting_.reset();
        Kept_.reset();
        Failure_.clear();
    }

    // The newest request's result once it has come, once; none while that request waits or
    // runs, when it failed, or when it was taken already.
    std::optional<Result> Take() {
        std::lock_guard lock(Mutex_);
        std::optional<Result> r = std::move(Kept_);
        Kept_.reset();
        return r;
    }
    // What the newest request failed with (its exception's text), empty while none failed.
    std::string Failure() const {
        std::lock_guard lock(Mutex_);
        return Failure_;
    }
    // A request waits or runs.
    bool Busy() const {
        std::lock_guard lock(Mutex_);
        return Waiting_ || Running_ != 0;
    }
    std::uint64_t Latest() const {
        std::lock_guard lock(Mutex_);
        return Latest_;
    }

private:
    bool Superseded(std::uint64_t number) const {
        std::lock_guard lock(Mutex_);
        return Quit_ || Latest_ != number;
    }

    // The running work's progress: it answers "stop" once a newer request came, or the worker
    // goes.
    class TSupersededStops final : public IProgressSink {
    public:
        TSupersededStops(const TLatestWorker& owner, std::uint64_t number)
            : Owner_(owner), Number_(number) {}
        void Start(const std::string&, int, int) override {}
        bool Position(int) override { return Owner_.Superseded(Number_); }
        void Finish() override {}

    private:
        const TLatestWorker& Owner_;
        std::uint64_t Number_;
    };

    void Loop() {
        for (;;) {
            TWork work;
            std::uint64_t number;
            {
                std::unique_lock lock(Mutex_);
                Wake_.wait(lock, [this] { return Quit_ || Waiting_; });
                if (Quit_) return;
                work = std::move(*Waiting_);
                Waiting_.reset();
                number = Running_ = Latest_;
            }
            std::optional<Result> result;
            std::string failure;
            try {
                TSupersededStops progress(*this, number);
                result.emplace(work(progress));
            } catch (const EAborted&) {
            } catch (const std::exception& e) {
                failure = e.what()[0] ? e.what() : "failed";
            } catch (...) {
                failure = "failed";
            }
            bool tell = false;
            {
                std::lock_guard lock(Mutex_);
                Running_ = 0;
                if (number == Latest_ && !Quit_) {
                    Kept_ = std::move(result);
                    Failure_ = std::move(failure);
                    tell = Kept_ || !Failure_.empty();
                }
            }
            if (tell && Ready_) Ready_();
        }
    }

    std::function<void()> Ready_;
    mutable std::mutex Mutex_;
    std::condition_variable Wake_;
    std::optional<TWork> Waiting_;
    std::uint64_t Latest_ = 0;
    std::uint64_t Running_ = 0;
    std::optional<Result> Kept_;
    std::string Failure_;
    bool Quit_ = false;
    // Last, so that the members it uses are there while it runs.
    std::thread Thread_;
};

} // namespace pigmentaria
