#pragma once
// How long the window's thread could not react: a 5 ms timer's largest gap between ticks.
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace pigmentaria::bench {

// Records the largest gap between ticks of a 5 ms timer while it runs.
class TLatencyProbe {
public:
    TLatencyProbe() {
        Timer_.setInterval(5);
        Timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&Timer_, &QTimer::timeout, [this] {
            const qint64 now = Clock_.nsecsElapsed();
            if (Last_ >= 0) MaxGapNs_ = std::max(MaxGapNs_, now - Last_);
            Last_ = now;
        });
    }
    void Start() {
        Clock_.start();
        Last_ = -1;
        Timer_.start();
    }
    void Stop() { Timer_.stop(); }
    double MaxGapMs() const { return MaxGapNs_ / 1e6; }

private:
    QTimer Timer_;
    QElapsedTimer Clock_;
    qint64 Last_ = -1;
    qint64 MaxGapNs_ = 0;
};

} // namespace pigmentaria::bench
