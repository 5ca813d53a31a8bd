#include "keyrig/BeatClock.h"

#include <algorithm>

BeatClock::BeatClock(QObject* parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { fire(); });
}

void BeatClock::start(int intervalMs)
{
    interval_ = std::max(1, intervalMs);
    lastDeadline_ = Clock::now();
    deadline_ = lastDeadline_ + std::chrono::milliseconds(interval_);
    arm();
}

void BeatClock::stop() { timer_.stop(); }

void BeatClock::setInterval(int intervalMs)
{
    interval_ = std::max(1, intervalMs);
    if (!timer_.isActive())
        return;
    deadline_ = lastDeadline_ + std::chrono::milliseconds(interval_);
    arm();
}

void BeatClock::arm()
{
    // Whole milliseconds rounded up: never early, at most a millisecond late.
    const auto remaining = deadline_ - Clock::now();
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining);
    timer_.start(std::max<std::chrono::milliseconds::rep>(0, ms.count()));
}

void BeatClock::fire()
{
    lastDeadline_ = deadline_;
    deadline_ += std::chrono::milliseconds(interval_);
    // Ticks missed altogether (the program was held up for more than an
    // interval) are dropped, not played in a burst; the beat keeps its grid.
    const auto now = Clock::now();
    while (deadline_ <= now) {
        lastDeadline_ = deadline_;
        deadline_ += std::chrono::milliseconds(interval_);
    }
    arm(); // before the tick, so a tick that stops the clock is honoured
    if (onTick)
        onTick();
}
