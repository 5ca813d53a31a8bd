#pragma once
#include <chrono>

namespace notivo {

using SteadyClock = std::chrono::steady_clock;

// Waits that keep the window alive: window events (clicks, repaints, timers)
// go on running while the caller waits, and the processor stays idle.  A
// handler that runs inside a wait may start another wait; the outer one
// returns once the inner one has returned and its own deadline has passed.

// Returns once `deadline` has passed: true.  A deadline already in the past
// returns at once without running events.  False when the wait was cut short
// because the application is quitting; the caller should then wind up
// instead of carrying on as if the time had passed.
bool waitUntil(SteadyClock::time_point deadline);

// Returns after `milliseconds` (at once for zero or less); false as above.
bool DelayTimer(int milliseconds);

} // namespace notivo
