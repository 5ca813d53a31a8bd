#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>

#include "notivo/editor/Scheduler.h"
#include "tests/notivo/editor/play_fakes.h"

using namespace notivo;
using namespace notivo::playtest;
using namespace std::chrono_literals;

namespace {

// Continuations run in deadline order (ties in the order scheduled), each at
// its deadline; what one schedules or cancels counts at once.
TEST(Scheduler, TwoTimelinesInterleaveOnTheirOwnDeadlines)
{
    FakeClock clock;
    std::string trace;
    auto mark = [&](const char* what) { trace += std::to_string(clock.ms()) + what + " "; };
    // Timeline a: every 90 ms, three times; timeline b: at 100 and 250.
    std::function<void(int)> a = [&](int left) {
        mark("a");
        if (left > 1)
            clock.after(90ms, [&, left] { a(left - 1); });
    };
    clock.after(90ms, [&] { a(3); });
    clock.after(100ms, [&] {
        mark("b");
        clock.after(150ms, [&] { mark("b"); });
    });
    const Scheduler::Ticket dropped = clock.after(180ms, [&] { mark("x"); });
    clock.after(180ms, [&] { mark("tie"); });
    clock.after(20ms, [&] { clock.cancel(dropped); });
    clock.run();
    EXPECT_EQ(trace, "90a 100b 180tie 180a 250b 270a ");
    EXPECT_TRUE(clock.idle());
}

TEST(Scheduler, AnOwnerCancelsOnlyItsOwn)
{
    FakeClock clock;
    int mine = 0, others = 0, chained = 0;
    const int owner = 0;
    clock.after(10ms, [&] { ++mine; }, &owner);
    clock.after(20ms, [&] { ++mine; }, &owner);
    clock.after(500ms, [&] {
        ++others;
        clock.after(500ms, [&] { ++chained; });
    });
    clock.cancelOwnedBy(&owner);
    clock.run();
    EXPECT_EQ(mine, 0);
    EXPECT_EQ(others, 1);
    EXPECT_EQ(chained, 1);
    EXPECT_TRUE(clock.idle());
}

// Idle costs nothing: the timer runs only while something is pending, and
// nothing runs before its deadline.
TEST(Scheduler, TheWindowTimerRunsOnlyWhileAWaitIsPending)
{
    WindowScheduler scheduler;
    EXPECT_FALSE(scheduler.timerRunning());
    const auto t0 = SteadyClock::now();
    std::vector<SteadyClock::duration> ran;
    scheduler.after(30ms, [&] { ran.push_back(SteadyClock::now() - t0); });
    scheduler.after(10ms, [&] { ran.push_back(SteadyClock::now() - t0); });
    const Scheduler::Ticket never = scheduler.after(5s, [&] { ran.push_back({}); });
    EXPECT_TRUE(scheduler.timerRunning());
    while (ran.size() < 2 && SteadyClock::now() - t0 < 5s)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_EQ(ran.size(), 2u);
    EXPECT_GE(ran[0], 10ms);
    EXPECT_GE(ran[1], 30ms);
    EXPECT_TRUE(scheduler.timerRunning()); // the far one is still pending
    scheduler.cancel(never);
    EXPECT_FALSE(scheduler.timerRunning());
}

} // namespace
