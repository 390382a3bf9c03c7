#include "platform/progress_throttle.h"

namespace pigmentaria {

void TProgressThrottle::Start(int minimum, int maximum) {
    Minimum_ = minimum;
    Maximum_ = maximum;
    LastPercent_ = -1;
    Started_ = false;
}

int TProgressThrottle::Percent(int position) const {
    if (Maximum_ <= Minimum_) return 100;
    if (position <= Minimum_) return 0;
    if (position >= Maximum_) return 100;
    return static_cast<int>(static_cast<long long>(position - Minimum_) * 100 /
                            (Maximum_ - Minimum_));
}

bool TProgressThrottle::Pass(int position, TClock::time_point now) {
    const int percent = Percent(position);
    if (percent == LastPercent_) return false;
    const bool last = percent == 100;
    if (Started_ && !last && now - LastTime_ < Interval_) return false;
    Started_ = true;
    LastPercent_ = percent;
    LastTime_ = now;
    return true;
}

} // namespace pigmentaria
