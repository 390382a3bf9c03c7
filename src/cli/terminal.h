#pragma once
// Messages and progress on the terminal: errors and warnings on stderr, a progress bar on stderr
// only when it is a terminal.
#include "platform/report.h"

#include <string>

namespace pigmentaria::cli {

class TTerminalMessages final : public IMessageSink {
public:
    void Error(const std::string& text) override;
    void Warning(const std::string& text) override;
    // Nobody can answer on the command line: the question is shown and answered OK.
    bool Confirm(const std::string& text) override;
};

// Terminal messages that also remember whether an error was shown.
class TCountingMessages final : public IMessageSink {
public:
    void Error(const std::string& text) override {
        ++Errors;
        Terminal_.Error(text);
    }
    void Warning(const std::string& text) override { Terminal_.Warning(text); }
    bool Confirm(const std::string& text) override { return Terminal_.Confirm(text); }
    int Errors = 0;

private:
    TTerminalMessages Terminal_;
};

class TTerminalProgress final : public IProgressSink {
public:
    TTerminalProgress();
    void Start(const std::string& message, int minimum, int maximum) override;
    // The command line offers no way to stop: never asks to.
    bool Position(int position) override;
    void Finish() override;

private:
    bool Enabled_;
    std::string Message_;
    int Min_ = 0, Max_ = 0, LastShown_ = -1;
};

} // namespace pigmentaria::cli
