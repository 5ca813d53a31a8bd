#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>

#include "notivo/editor/DelayTimer.h"

using notivo::DelayTimer;
using notivo::SteadyClock;
using notivo::waitUntil;
using namespace std::chrono_literals;

namespace {

TEST(DelayTimerTest, ReturnsAfterTheTimeWithWindowEventsRunningMeanwhile)
{
    bool ran = false;
    QTimer::singleShot(5, [&] { ran = true; });
    const auto t0 = SteadyClock::now();
    EXPECT_TRUE(DelayTimer(40));
    EXPECT_GE(SteadyClock::now() - t0, 40ms);
    EXPECT_TRUE(ran);
}

TEST(DelayTimerTest, PastDeadlinesAndZeroReturnAtOnceWithoutRunningEvents)
{
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    EXPECT_TRUE(waitUntil(SteadyClock::now() - 1s));
    EXPECT_TRUE(DelayTimer(0));
    EXPECT_TRUE(DelayTimer(-5));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(DelayTimer(10)); // lets the pending event run
    EXPECT_TRUE(ran);
}

TEST(DelayTimerTest, AHandlerInsideAWaitMayWaitAgain)
{
    // The outer wait ends at 30 ms, but an event inside it waits until 80 ms:
    // both return, the outer one once the inner one has, each after its deadline.
    const auto t0 = SteadyClock::now();
    SteadyClock::time_point innerDone{}, outerDone{};
    int innerEvents = 0;
    QTimer::singleShot(10, [&] {
        QTimer::singleShot(20, [&] { ++innerEvents; });
        EXPECT_TRUE(waitUntil(t0 + 80ms));
        innerDone = SteadyClock::now();
    });
    EXPECT_TRUE(waitUntil(t0 + 30ms));
    outerDone = SteadyClock::now();
    EXPECT_EQ(innerEvents, 1);
    EXPECT_GE(innerDone - t0, 80ms);
    EXPECT_GE(outerDone, innerDone);
}

} // namespace
