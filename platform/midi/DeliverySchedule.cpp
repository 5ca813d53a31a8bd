#include "platform/midi/DeliverySchedule.h"

namespace platform::midi {

DeliverySchedule::Clock::time_point DeliverySchedule::due(Clock::time_point sent, Clock::time_point now)
{
    if (sent >= lastDue_)
        shift_ = Clock::duration::zero();
    if (sent + shift_ + kLate < now)
        shift_ = now - sent;
    if (sent + shift_ > lastDue_)
        lastDue_ = sent + shift_;
    return lastDue_;
}

} // namespace platform::midi
