#pragma once
#include <chrono>
#include <optional>

namespace platform::midi {

// Decides when the synthesiser's audio stream runs.  It stops once every
// rendered block has been silent, with no voice playing, for a while, so an
// idle program costs neither it nor the sound server anything; it starts
// again as soon as a message makes a voice sound, before the next block is
// rendered, so the first note after silence is as early as any other.
// Silent means below half the last step of 16-bit audio: a reverb tail
// rings out to its end first.
class SilenceGate {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr float kQuiet = 1.0f / 65536;
    static constexpr std::chrono::milliseconds kHold{1000};

    bool running() const { return running_; }
    // Messages were played and `voices` now sound.  True when the stream
    // must start now.
    bool played(int voices);
    // A block was rendered: its peak and the voices sounding after it.  True
    // when the stream must stop now (silent for kHold at `now`).
    bool rendered(float peak, int voices, Clock::time_point now);

private:
    bool running_ = false;
    std::optional<Clock::time_point> quietSince_;
};

} // namespace platform::midi
