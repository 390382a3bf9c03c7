#pragma once
// Latest-only scheduling of preview computations (the filter dialogs' filtered preview, the
// picture dialogs' preview): at most one computation runs at a time; a request made while one
// runs waits in its place, replacing any request that was waiting before it; a result is shown
// only when no newer request was made meanwhile. The preview therefore always ends on the last
// request, a burst of requests (a slider dragged) costs at most the computation running and the
// last one, and the window never waits for a computation that has gone stale: the running one
// can see that it was overtaken and stop early.
//
// Submit, Finished and Cancel belong to the window's thread; Overtaken may be asked from the
// computation's thread.
#include <atomic>
#include <cstdint>
#include <optional>
#include <utility>

namespace pigmentaria {

template <class Request> class TLatestOnlyQueue {
public:
    struct TTicket {
        std::uint64_t Generation = 0;
        Request Value;
    };
    struct TDone {
        // Whether the finished computation's result is to be shown.
        bool Adopt = false;
        // The waiting request, to be started now.
        std::optional<TTicket> Next;
    };

    // A new request. Returned at once, to be started, when nothing runs; otherwise it waits and
    // nothing comes back.
    std::optional<TTicket> Submit(Request value) {
        const std::uint64_t generation = Latest_.load() + 1;
        Latest_.store(generation);
        TTicket ticket{generation, std::move(value)};
        if (Running_) {
            Waiting_ = std::move(ticket);
            return std::nullopt;
        }
        Running_ = true;
        return ticket;
    }

    // The computation of `generation` ended (with a result or given up).
    TDone Finished(std::uint64_t generation) {
        TDone done;
        done.Adopt = generation == Latest_.load();
        if (Waiting_) {
            done.Next = std::exchange(Waiting_, std::nullopt);
        } else {
            Running_ = false;
        }
        return done;
    }

    // Drops the waiting request and makes the running one stale (the window closes, or the
    // source changed so that no earlier request is wanted).
    void Cancel() {
        Waiting_.reset();
        Latest_.store(Latest_.load() + 1);
    }

    // Whether a newer request (or Cancel) came after `generation`.
    bool Overtaken(std::uint64_t generation) const { return generation != Latest_.load(); }
    std::uint64_t Latest() const { return Latest_.load(); }
    bool Running() const { return Running_; }
    bool Waiting() const { return Waiting_.has_value(); }

private:
    std::atomic<std::uint64_t> Latest_{0};
    bool Running_ = false;
    std::optional<TTicket> Waiting_;
};

} // namespace pigmentaria
