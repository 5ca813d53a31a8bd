#pragma once
#include <chrono>
#include <cstdint>

#include "keyrig/PerformanceRecorder.h"

// A clock for the performance recorder that moves only when a test sets it.
inline std::int64_t fakeMicroseconds = 0;

inline PerformanceRecorder::Clock::time_point fakeNow()
{
    return PerformanceRecorder::Clock::time_point(std::chrono::microseconds(fakeMicroseconds));
}
