#pragma once
// Which progress positions of a long job are worth showing: a worker reports after every row,
// the window needs only a visible change, a few times a second.
#include <chrono>

namespace pigmentaria {

class TProgressThrottle {
public:
    using TClock = std::chrono::steady_clock;
    explicit TProgressThrottle(std::chrono::milliseconds interval = std::chrono::milliseconds(50))
        : Interval_(interval) {}

    // A new bar range: the next position is always shown.
    void Start(int minimum, int maximum);
    // Whether to pass `position` on at time `now`: its percent differs from the last one passed
    // and at least the interval has gone by since then. The last position of the range always
    // passes once.
    bool Pass(int position, TClock::time_point now);
    int Percent(int position) const;

private:
    std::chrono::milliseconds Interval_;
    int Minimum_ = 0;
    int Maximum_ = 100;
    int LastPercent_ = -1;
    bool Started_ = false;
    TClock::time_point LastTime_{};
};

} // namespace pigmentaria
