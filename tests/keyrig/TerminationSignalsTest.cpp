#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <csignal>
#include <functional>

#include "keyrig/TerminationSignals.h"

namespace {

// Ignores SIGTERM and SIGINT for the length of a test, so a fault in the
// code under test cannot end the test program, and puts the old meaning back.
class IgnoredSignals {
public:
    IgnoredSignals()
    {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGTERM, &ignore, &term_);
        sigaction(SIGINT, &ignore, &int_);
    }
    ~IgnoredSignals()
    {
        sigaction(SIGTERM, &term_, nullptr);
        sigaction(SIGINT, &int_, nullptr);
    }

private:
    struct sigaction term_ {}, int_ {};
};

void runEventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

bool isIgnored(int signal)
{
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler == SIG_IGN;
}

TEST(TerminationSignals, TermAndIntBecomeOneCallOnTheEventLoopAndTheOldHandlersComeBack)
{
    IgnoredSignals guard;
    int calls = 0;
    {
        TerminationSignals watcher([&] { ++calls; });
        ASSERT_TRUE(watcher.isActive());
        EXPECT_FALSE(isIgnored(SIGTERM));
        TerminationSignals second([&] { calls += 100; });
        EXPECT_FALSE(second.isActive()); // one at a time

        raise(SIGTERM);
        raise(SIGTERM);
        EXPECT_EQ(calls, 0); // nothing runs inside the handler
        runEventsUntil([&] { return calls > 0; });
        EXPECT_EQ(calls, 1);

        raise(SIGINT);
        runEventsUntil([&] { return calls > 1; });
        EXPECT_EQ(calls, 2);
    }
    EXPECT_TRUE(isIgnored(SIGTERM));
    EXPECT_TRUE(isIgnored(SIGINT));
    TerminationSignals again([&] { ++calls; });
    EXPECT_TRUE(again.isActive());
}

} // namespace
