#pragma once
// How the core talks to a person without showing anything itself: the GUI implements these with
// message boxes and the progress window, the command line on the terminal, tests with recorders.
#include <string>

namespace pigmentaria {

class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    // An error box with an OK button; the operation decides whether it goes on.
    virtual void Error(const std::string& text) = 0;
    // A warning or notice the user should see once.
    virtual void Warning(const std::string& text) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool Confirm(const std::string& text) { return Warning(text), true; }
};

class IProgressSink {
public:
    virtual ~IProgressSink() = default;
    // Shows the progress window with a message and the bar's range, position at the minimum.
    virtual void Start(const std::string& message, int minimum, int maximum) = 0;
    virtual void Position(int position) = 0;
    virtual void Finish() = 0;
};

// Quiet stand-ins for callers that have nobody to tell.
class TNullMessages final : public IMessageSink {
public:
    void Error(const std::string&) override {}
    void Warning(const std::string&) override {}
};

class TNullProgress final : public IProgressSink {
public:
    void Start(const std::string&, int, int) override {}
    void Position(int) override {}
    void Finish() override {}
};

} // namespace pigmentaria
