#pragma once
// How the core talks to a person without showing anything itself: the GUI implements these with
// message boxes and the progress window, the command line on the terminal, tests with recorders.
//
// Threads. Long work (colour reduction, speck removal, tracing, number placement, printing every
// page, loading a big picture) may run on a worker thread while the GUI thread stays responsive.
// - Progress may be called from any thread: the sink of a worker's run forwards to the window
//   (see platform/worker.h for a mailbox that does so).
// - Work on a worker never calls a message sink: not Error, not Warning, not Confirm. It reports
//   into a TCollectedMessages of its own, and the messages come back with its result, to be
//   shown on the GUI thread when the result is adopted. A question the work might ask is decided
//   before it starts (the answer TCollectedMessages gives).
// - A worker reads only what it owns (copies made before it starts) and hands its result back
//   whole. Nothing is adopted from work that failed or was stopped, so stopping leaves the
//   painting exactly as it was.
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace pigmentaria {

class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    // An error box with an OK button; the operation decides whether it goes on.
    virtual void Error(const std::string& text) = 0;
    // A warning or notice the user should see once.
    virtual void Warning(const std::string& text) = 0;
    // A question with OK and Cancel; true for OK. Every front end answers it itself.
    virtual bool Confirm(const std::string& text) = 0;
};

class IProgressSink {
public:
    virtual ~IProgressSink() = default;
    // Shows the progress window with a message and the bar's range, position at the minimum.
    virtual void Start(const std::string& message, int minimum, int maximum) = 0;
    // Moves the bar. The answer is the abort request: true when the user asked to stop, and the
    // work then ends as soon as it can without changing anything.
    virtual bool Position(int position) = 0;
    // Hides the window; also called when the work stops early or fails.
    virtual void Finish() = 0;
};

// What long work throws when its progress sink asked it to stop.
class EAborted : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted on user request"; }
};

// One run of the progress window: started on construction and finished on leaving the scope,
// however the scope is left.
class TProgressRun {
public:
    TProgressRun(IProgressSink& sink, const std::string& message, int minimum, int maximum)
        : Sink_(sink) {
        Sink_.Start(message, minimum, maximum);
    }
    ~TProgressRun() { Sink_.Finish(); }
    TProgressRun(const TProgressRun&) = delete;
    TProgressRun& operator=(const TProgressRun&) = delete;

    // Moves the bar; throws EAborted when the user asked to stop.
    void Step(int position) {
        if (Sink_.Position(position)) throw EAborted();
    }

private:
    IProgressSink& Sink_;
};

// A message that work on a worker could not show, kept to be shown afterwards.
struct TWorkMessage {
    enum class TKind { Error, Warning };
    TKind Kind = TKind::Warning;
    std::string Text;
    friend bool operator==(const TWorkMessage&, const TWorkMessage&) = default;
};

// Shows kept messages, in their order, through a sink on the GUI thread.
inline void ReplayMessages(const std::vector<TWorkMessage>& messages, IMessageSink& sink) {
    for (const TWorkMessage& m : messages) {
        if (m.Kind == TWorkMessage::TKind::Error)
            sink.Error(m.Text);
        else
            sink.Warning(m.Text);
    }
}

// The message sink of one piece of work: keeps every message for its result. A question is
// answered with the answer given beforehand and its text kept as a warning, so that the user
// still reads it.
class TCollectedMessages final : public IMessageSink {
public:
    explicit TCollectedMessages(bool confirmAnswer = true) : ConfirmAnswer_(confirmAnswer) {}
    void Error(const std::string& text) override {
        Messages_.push_back({TWorkMessage::TKind::Error, text});
    }
    void Warning(const std::string& text) override {
        Messages_.push_back({TWorkMessage::TKind::Warning, text});
    }
    bool Confirm(const std::string& text) override {
        Warning(text);
        return ConfirmAnswer_;
    }
    const std::vector<TWorkMessage>& Messages() const { return Messages_; }
    std::vector<TWorkMessage> Take() { return std::exchange(Messages_, {}); }

private:
    bool ConfirmAnswer_;
    std::vector<TWorkMessage> Messages_;
};

// Quiet stand-ins for callers that have nobody to tell: questions are answered OK, progress never
// asks to stop.
class TNullMessages final : public IMessageSink {
public:
    void Error(const std::string&) override {}
    void Warning(const std::string&) override {}
    bool Confirm(const std::string&) override { return true; }
};

class TNullProgress final : public IProgressSink {
public:
    void Start(const std::string&, int, int) override {}
    bool Position(int) override { return false; }
    void Finish() override {}
};

} // namespace pigmentaria
