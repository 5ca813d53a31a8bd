#pragma once
#include <chrono>

namespace platform::midi {

// The time the programs' logs and traces are written in: steady-clock
// microseconds, so lines from several logs of one run line up.
inline long long steadyMicros(std::chrono::steady_clock::time_point time)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(time.time_since_epoch()).count();
}

} // namespace platform::midi
