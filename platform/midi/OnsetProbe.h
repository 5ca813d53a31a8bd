#pragma once
#include <chrono>
#include <optional>

namespace platform::midi {

// Finds the moment a note reaches the output: the first rendered block
// above -60 dBFS after a note-on played into quiet.  A note-on played while
// something still sounds above that level cannot be told apart and is not
// followed.
class OnsetProbe {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr float kThreshold = 0.001f; // -60 dBFS

    // A note-on reached the synthesiser; `sent` is when the program sent it.
    void noteOn(Clock::time_point sent);
    // One rendered block and its peak: the sent time of the note that became
    // audible in it, if one did.
    std::optional<Clock::time_point> block(float peak);

private:
    std::optional<Clock::time_point> pending_;
    int blocksWaited_ = 0;
    bool quiet_ = true;
};

} // namespace platform::midi
