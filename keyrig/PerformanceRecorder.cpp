#include "keyrig/PerformanceRecorder.h"

#include "platform/midi/MidiMessage.h"

using platform::midi::TimedMessage;
using platform::midi::packShortMessage;

PerformanceRecorder::PerformanceRecorder(std::size_t capacity) : capacity_(capacity) {}

std::int64_t PerformanceRecorder::sinceStart() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(now_() - start_).count();
}

void PerformanceRecorder::take(std::uint32_t packed)
{
    follow(packed);
    if (!recording_)
        return;
    if (messages_.size() >= capacity_) {
        end();
        if (onFull)
            onFull();
        return;
    }
    messages_.push_back(TimedMessage{sinceStart(), packed});

    const int status = platform::midi::statusOf(packed);
    const int kind = status & 0xF0;
    if (kind != 0x80 && kind != 0x90)
        return;
    const std::size_t note = std::size_t(status & 0x0F) * 128 + std::size_t(platform::midi::data1Of(packed) & 0x7F);
    sounding_[note] = kind == 0x90 && platform::midi::data2Of(packed) > 0; // a note-on of velocity 0 is a note-off
}

void PerformanceRecorder::follow(std::uint32_t packed)
{
    const int status = platform::midi::statusOf(packed);
    ChannelSound& sound = sounds_[status & 0x0F];
    if ((status & 0xF0) == 0xC0) {
        sound.program = platform::midi::data1Of(packed);
    } else if ((status & 0xF0) == 0xB0) {
        if (platform::midi::data1Of(packed) == 0x00)
            sound.bankMsb = platform::midi::data2Of(packed);
        else if (platform::midi::data1Of(packed) == 0x20)
            sound.bankLsb = platform::midi::data2Of(packed);
    }
}

void PerformanceRecorder::start()
{
    messages_.clear();
    // Reserved, not touched: the pages cost nothing until the take fills them,
    // and no growth copies the take while the player plays.
    messages_.reserve(capacity_ + sounding_.size());
    sounding_.reset();
    start_ = now_();
    startedAt_ = QDateTime::currentDateTime();
    recording_ = true;
    for (int channel = 0; channel < 16; ++channel) {
        const ChannelSound& sound = sounds_[channel];
        if (sound.program < 0)
            continue;
        if (sound.bankMsb >= 0)
            messages_.push_back(TimedMessage{0, packShortMessage(0xB0 + channel, 0x00, sound.bankMsb)});
        if (sound.bankLsb >= 0)
            messages_.push_back(TimedMessage{0, packShortMessage(0xB0 + channel, 0x20, sound.bankLsb)});
        messages_.push_back(TimedMessage{0, packShortMessage(0xC0 + channel, sound.program)});
    }
    opening_ = messages_.size();
}

void PerformanceRecorder::end()
{
    recording_ = false;
    endMicroseconds_ = sinceStart();
    for (std::size_t note = 0; note < sounding_.size(); ++note) {
        if (sounding_[note])
            messages_.push_back(TimedMessage{endMicroseconds_, packShortMessage(0x80 + int(note / 128), int(note % 128))});
    }
    sounding_.reset();
}

bool PerformanceRecorder::stop()
{
    if (!recording_)
        return hasTake();
    end();
    if (messages_.size() == opening_) {
        discard();
        return false;
    }
    return true;
}

void PerformanceRecorder::discard()
{
    recording_ = false;
    // Give the room back: a take may have held many megabytes.
    std::vector<TimedMessage>().swap(messages_);
    opening_ = 0;
}
