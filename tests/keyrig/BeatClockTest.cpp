#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <thread>
#include <vector>

#include "keyrig/BeatClock.h"

namespace {

using Clock = std::chrono::steady_clock;

void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(BeatClock, ATickHeldUpPastSeveralIntervalsPlaysOnceInsteadOfABurst)
{
    BeatClock clock;
    std::vector<Clock::time_point> ticks;
    clock.onTick = [&] { ticks.push_back(Clock::now()); };
    const auto start = Clock::now();
    clock.start(40);
    std::this_thread::sleep_for(std::chrono::milliseconds(130)); // the window thread was busy
    QCoreApplication::processEvents();
    ASSERT_EQ(ticks.size(), 1u); // the missed ticks are not played in a burst
    runEventsFor(100);
    clock.stop();
    ASSERT_GE(ticks.size(), 2u);
    // Never ahead of its grid time start + 4 * 40 ms (how close it comes is measured by the benchmark).
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(ticks[1] - start).count(), 160);
}

TEST(BeatClock, ANewIntervalCountsFromTheLastTick)
{
    BeatClock clock;
    int ticks = 0;
    clock.onTick = [&] { ++ticks; };
    clock.start(1000);
    clock.setInterval(20);
    EXPECT_EQ(clock.interval(), 20);
    runEventsFor(100);
    EXPECT_GE(ticks, 3);
    clock.stop();
    EXPECT_FALSE(clock.isActive());
}

} // namespace
