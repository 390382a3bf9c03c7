#pragma once
// Running one piece of long work on a thread of its own while the GUI thread goes on: the work's
// progress crosses to the GUI thread through a mailbox, its result (or its failure) is handed
// over whole when it ends, and the progress window's Cancel stops it.
//
// A front end starts a TWorkerJob with the work and two calls it will get on the worker thread:
// `wake` when progress is waiting (post a queued call that runs DeliverProgress on the GUI
// thread) and `finished` when the result is ready (post a queued call that takes and adopts it).
// Neither may block on the GUI thread. Without an event loop (tests, the command line) the GUI
// thread can instead call DeliverProgress until Finished() and then TakeResult().
#include "platform/report.h"

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace pigmentaria {

// The worker's progress sink: every call is queued, in order, for the GUI thread to hand to the
// real progress window. Positions that pile up are merged into the latest one.
class TProgressMailbox final : public IProgressSink {
public:
    explicit TProgressMailbox(std::function<void()> wake = {}) : Wake_(std::move(wake)) {}

    // Worker side.
    void Start(const std::string& message, int minimum, int maximum) override {
        Queue({TEvent::TKind::Start, message, minimum, maximum});
    }
    bool Position(int position) override {
        Queue({TEvent::TKind::Position, {}, position, 0});
        return AbortRequested();
    }
    void Finish() override { Queue({TEvent::TKind::Finish, {}, 0, 0}); }

    // Any thread: the next Position answers "stop".
    void RequestAbort() { Abort_.store(true); }
    bool AbortRequested() const { return Abort_.load(); }

    // GUI thread: hands everything queued so far to the window, in order. A window whose Position
    // answers true asks the work to stop.
    void DeliverTo(IProgressSink& window) {
        std::vector<TEvent> events;
        {
            std::lock_guard lock(Mutex_);
            events.swap(Events_);
            WakePending_ = false;
        }
        for (const TEvent& e : events) {
            switch (e.Kind) {
            case TEvent::TKind::Start:
                window.Start(e.Message, e.A, e.B);
                break;
            case TEvent::TKind::Position:
                if (window.Position(e.A)) RequestAbort();
                break;
            case TEvent::TKind::Finish:
                window.Finish();
                break;
            }
        }
    }

private:
    struct TEvent {
        enum class TKind { Start, Position, Finish };
        TKind Kind;
        std::string Message;
        int A = 0, B = 0;
    };

    void Queue(TEvent event) {
        bool wake = false;
        {
            std::lock_guard lock(Mutex_);
            if (event.Kind == TEvent::TKind::Position && !Events_.empty() &&
                Events_.back().Kind == TEvent::TKind::Position)
                Events_.back().A = event.A;
            else
                Events_.push_back(std::move(event));
            wake = !WakePending_ && Wake_;
            WakePending_ = true;
        }
        if (wake) Wake_();
    }

    std::function<void()> Wake_;
    std::mutex Mutex_;
    std::vector<TEvent> Events_;
    bool WakePending_ = false;
    std::atomic<bool> Abort_{false};
};

// One piece of work, started on its own thread at construction: `Work` is called as
// Result(IProgressSink&) with the job's mailbox. It may own what it captures (move-only is fine).
// Destroying the job asks the work to stop and waits for it.
template <class Result> class TWorkerJob {
public:
    template <class Work>
    explicit TWorkerJob(Work work, std::function<void()> finished = {},
                        std::function<void()> wake = {})
        : Mailbox_(std::move(wake)), FinishedCall_(std::move(finished)) {
        Thread_ = std::jthread([this, work = std::move(work)]() mutable { Run(work); });
    }
    ~TWorkerJob() { Mailbox_.RequestAbort(); }
    TWorkerJob(const TWorkerJob&) = delete;
    TWorkerJob& operator=(const TWorkerJob&) = delete;

    // GUI thread: progress so far to the progress window.
    void DeliverProgress(IProgressSink& window) { Mailbox_.DeliverTo(window); }
    // Any thread: the work stops at its next progress step and its result is EAborted.
    void RequestAbort() { Mailbox_.RequestAbort(); }

    bool Finished() const { return Done_.load(std::memory_order_acquire); }
    void Wait() const { Done_.wait(false, std::memory_order_acquire); }

    // The result once the work ended (waits for it otherwise); rethrows what the work threw,
    // EAborted when it was stopped. Once only.
    Result TakeResult() {
        Wait();
        if (Error_) std::rethrow_exception(std::exchange(Error_, nullptr));
        Result r = std::move(*Result_);
        Result_.reset();
        return r;
    }

private:
    template <class Work> void Run(Work& work) {
        try {
            Result_.emplace(work(static_cast<IProgressSink&>(Mailbox_)));
        } catch (...) {
            Error_ = std::current_exception();
        }
        Done_.store(true, std::memory_order_release);
        Done_.notify_all();
        if (FinishedCall_) FinishedCall_();
    }

    TProgressMailbox Mailbox_;
    std::function<void()> FinishedCall_;
    // Written by the worker before Done_ is set, read by others only after.
    std::optional<Result> Result_;
    std::exception_ptr Error_;
    std::atomic<bool> Done_{false};
    // Last, so that it is joined before the members it uses go away.
    std::jthread Thread_;
};

} // namespace pigmentaria
