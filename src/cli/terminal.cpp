#include "cli/terminal.h"

#include <cstdio>
#include <unistd.h>

namespace pigmentaria::cli {

void TTerminalMessages::Error(const std::string& text) {
    std::fprintf(stderr, "error: %s\n", text.c_str());
}
void TTerminalMessages::Warning(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool TTerminalMessages::Confirm(const std::string& text) {
    Warning(text);
    return true;
}

TTerminalProgress::TTerminalProgress() : Enabled_(isatty(STDERR_FILENO) == 1) {}

void TTerminalProgress::Start(const std::string& message, int minimum, int maximum) {
    Message_ = message;
    Min_ = minimum;
    Max_ = maximum;
    LastShown_ = -1;
    Position(minimum);
}

bool TTerminalProgress::Position(int position) {
    if (!Enabled_ || Max_ <= Min_) return false;
    const int percent = static_cast<int>(100LL * (position - Min_) / (Max_ - Min_));
    if (percent == LastShown_) return false;
    LastShown_ = percent;
    const int filled = percent * 30 / 100;
    std::fprintf(stderr, "\r%-32s [%.*s%*s] %3d%%", Message_.c_str(), filled,
                 "##############################", 30 - filled, "", percent);
    std::fflush(stderr);
    return false;
}

void TTerminalProgress::Finish() {
    if (Enabled_ && LastShown_ >= 0) std::fprintf(stderr, "\r%*s\r", 72, "");
}

} // namespace pigmentaria::cli
