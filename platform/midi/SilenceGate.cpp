#include "platform/midi/SilenceGate.h"

namespace platform::midi {

bool SilenceGate::played(int voices)
{
    quietSince_.reset();
    if (running_ || voices == 0)
        return false;
    running_ = true;
    return true;
}

bool SilenceGate::rendered(float peak, int voices, Clock::time_point now)
{
    if (!running_)
        return false;
    if (peak >= kQuiet || voices > 0) {
        quietSince_.reset();
        return false;
    }
    if (!quietSince_)
        quietSince_ = now;
    if (now - *quietSince_ < kHold)
        return false;
    running_ = false;
    quietSince_.reset();
    return true;
}

} // namespace platform::midi
