#include "platform/midi/DeliverySchedule.h"

#include "platform/midi/MidiMessage.h"

namespace platform::midi {

DeliverySchedule::Clock::time_point DeliverySchedule::due(const ShortMessage& message, Clock::time_point sent,
                                                          Clock::time_point now)
{
    if (late_.any() && sent - lastLateStart_ > kHoldLimit)
        late_.reset();
    if (sent >= lastDue_ && late_.none())
        shift_ = Clock::duration::zero();
    if (sent + shift_ + kLate < now)
        shift_ = now - sent;
    if (sent + shift_ > lastDue_)
        lastDue_ = sent + shift_;
    track(message, sent);
    return lastDue_;
}

void DeliverySchedule::track(const ShortMessage& m, Clock::time_point sent)
{
    if (m.length == 0)
        return;
    const int type = m.status() & 0xF0;
    const std::size_t note = static_cast<std::size_t>(m.channel()) * 128 + static_cast<std::size_t>(m.data1() & 0x7F);
    if (type == 0x90 && m.data2() > 0) {
        // Percussion sounds are one-shots that nobody releases (a drum beat
        // sends no note-offs): they never hold the device back.
        const bool late = shift_ > Clock::duration::zero() && m.channel() != PercussionChannel;
        late_.set(note, late);
        if (late)
            lastLateStart_ = sent;
    } else if (type == 0x80 || type == 0x90) {
        late_.reset(note);
    } else if (type == 0xB0 && (m.data1() == 120 || m.data1() == 123)) { // all sound / all notes off
        for (std::size_t key = 0; key < 128; ++key)
            late_.reset(static_cast<std::size_t>(m.channel()) * 128 + key);
    } else if (m.status() == 0xFF) { // system reset
        late_.reset();
    }
}

} // namespace platform::midi
