#include "notivo/editor/DelayTimer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <thread>

namespace notivo {

namespace {

// Whole milliseconds left before `deadline`, rounded down: the precise timer
// counts in milliseconds and must not wake after the deadline.
long long wholeMillisecondsLeft(SteadyClock::time_point deadline)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
}

} // namespace

bool waitUntil(SteadyClock::time_point deadline)
{
    if (SteadyClock::now() >= deadline)
        return true;

    if (QCoreApplication::instance() != nullptr && wholeMillisecondsLeft(deadline) >= 1) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
            // A timer may wake a little early or be held up by a nested wait;
            // it re-arms against the same absolute deadline.
            const long long left = wholeMillisecondsLeft(deadline);
            if (left >= 1)
                timer.start(static_cast<int>(left));
            else
                loop.quit();
        });
        timer.start(static_cast<int>(std::max(0LL, wholeMillisecondsLeft(deadline))));
        loop.exec();
        // Quitting the application ends every running event loop.
        if (wholeMillisecondsLeft(deadline) >= 1)
            return false;
    }

    // The last fraction of a millisecond, below the timer's resolution: a
    // plain sleep, so the deadline is met without spinning.
    std::this_thread::sleep_until(deadline);
    return true;
}

bool DelayTimer(int milliseconds)
{
    if (milliseconds <= 0)
        return true;
    return waitUntil(SteadyClock::now() + std::chrono::milliseconds(milliseconds));
}

} // namespace notivo
