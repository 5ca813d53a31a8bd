#pragma once
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

// A repeating tick held to absolute deadlines: each deadline is the previous
// one plus the interval, so the time spent in a tick or a late wake-up does
// not stretch the beat and errors do not add up.  Ticks missed altogether
// are dropped rather than caught up, and the beat stays on its grid.
class BeatClock : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    explicit BeatClock(QObject* parent = nullptr);

    std::function<void()> onTick;

    void start(int intervalMs);
    void stop();
    bool isActive() const { return timer_.isActive(); }

    // Takes effect from the last tick: the next one falls `intervalMs` after it.
    void setInterval(int intervalMs);
    int interval() const { return interval_; }

private:
    void arm();
    void fire();

    QTimer timer_;
    int interval_ = 100;
    Clock::time_point lastDeadline_{};
    Clock::time_point deadline_{};
};
