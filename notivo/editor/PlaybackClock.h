#pragma once
#include <chrono>

#include "notivo/editor/DelayTimer.h"

namespace notivo {

// The time source of playback.  The program waits on the window's event loop;
// tests drive a fake clock so that note times can be checked exactly.
class PlaybackClock {
public:
    virtual ~PlaybackClock() = default;
    virtual SteadyClock::time_point now() = 0;
    // Returns once `deadline` has passed (false: the program is quitting and
    // the caller must wind up at once).
    virtual bool waitUntil(SteadyClock::time_point deadline) = 0;

    bool waitFor(std::chrono::milliseconds length) { return waitUntil(now() + length); }
};

// Steady clock, waiting with window events running (DelayTimer.h).
class WindowPlaybackClock : public PlaybackClock {
public:
    SteadyClock::time_point now() override { return SteadyClock::now(); }
    bool waitUntil(SteadyClock::time_point deadline) override { return notivo::waitUntil(deadline); }
};

} // namespace notivo
