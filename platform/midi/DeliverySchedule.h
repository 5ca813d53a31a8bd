#pragma once
#include <bitset>
#include <chrono>

#include "platform/midi/ShortMessageDecoder.h"

namespace platform::midi {

// Decides when a queued message is played.  Normally at once.  When the
// device falls behind (the SoundFont was still loading, a program change
// was reading its samples) the waiting messages keep the spacing they were
// sent with, shifted by the delay.  The shift lasts while a note that
// started late is still held, so its note-off, even when sent after the
// device has caught up, comes as late as the note-on did and the note keeps
// its length.  Once nothing late is held and a message arrives after
// everything before it has played, the device is live again.
class DeliverySchedule {
public:
    using Clock = std::chrono::steady_clock;

    // Lateness under this is ordinary scheduling noise and is not kept.
    static constexpr std::chrono::milliseconds kLate{15};
    // A late note held longer than this no longer holds the device back: a
    // note-off that never comes must not make every later note late.
    static constexpr std::chrono::seconds kHoldLimit{10};

    // When to play `message`, sent at `sent`, which reaches the head of the
    // queue at `now`.  Times returned never go backwards.
    Clock::time_point due(const ShortMessage& message, Clock::time_point sent, Clock::time_point now);
    // Every sound was stopped (a port closed): no late note is held.
    void releaseAll() { late_.reset(); }

private:
    void track(const ShortMessage& message, Clock::time_point sent);

    Clock::duration shift_{0};
    Clock::time_point lastDue_ = Clock::time_point::min();
    std::bitset<16 * 128> late_; // channel * 128 + key of notes that started late
    Clock::time_point lastLateStart_{};
};

} // namespace platform::midi
