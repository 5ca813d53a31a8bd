#pragma once
#include <chrono>

namespace platform::midi {

// Decides when a queued message is played.  Normally at once.  When the
// device falls behind (the SoundFont was still loading, a program change
// was reading its samples) the waiting messages keep the spacing they were
// sent with, shifted by the delay, so a note-on and its note-off sent
// during the wait still make a note of the right length.  Once a message
// arrives after everything before it has played, the device is live again.
class DeliverySchedule {
public:
    using Clock = std::chrono::steady_clock;

    // Lateness under this is ordinary scheduling noise and is not kept.
    static constexpr std::chrono::milliseconds kLate{15};

    // When to play a message sent at `sent` that reaches the head of the
    // queue at `now`.  Times returned never go backwards.
    Clock::time_point due(Clock::time_point sent, Clock::time_point now);

private:
    Clock::duration shift_{0};
    Clock::time_point lastDue_ = Clock::time_point::min();
};

} // namespace platform::midi
