#include "platform/midi/OnsetProbe.h"

namespace platform::midi {

void OnsetProbe::noteOn(Clock::time_point sent)
{
    // Of several note-ons before the next block (a chord) the first counts;
    // one that stayed below the threshold for a block gives way to a new one.
    if (quiet_ && (!pending_ || blocksWaited_ > 0)) {
        pending_ = sent;
        blocksWaited_ = 0;
    }
}

std::optional<OnsetProbe::Clock::time_point> OnsetProbe::block(float peak)
{
    quiet_ = peak < kThreshold;
    if (!pending_)
        return std::nullopt;
    if (quiet_) {
        ++blocksWaited_;
        return std::nullopt;
    }
    const auto sent = pending_;
    pending_.reset();
    return sent;
}

} // namespace platform::midi
