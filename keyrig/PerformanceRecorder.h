#pragma once
#include <QDateTime>

#include <array>
#include <bitset>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/midi/StandardMidiFile.h"

// Keeps what the player performs: every message keyrig sends passes through
// `take`, and while a take runs it is kept with its time from the start.  A
// take begins with the sounds in use (the last bank select and program of
// every channel that had one) and ends with a note-off for every note still
// sounding, so it plays back as it was heard.
class PerformanceRecorder {
public:
    using Clock = std::chrono::steady_clock;

    // An hour of dense playing is some 72,000 messages; a million (16 MB)
    // leaves room for a long evening and keeps memory bounded.
    static constexpr std::size_t DefaultCapacity = 1'000'000;

    explicit PerformanceRecorder(std::size_t capacity = DefaultCapacity);

    // Every message sent, recording or not (the programs in use are followed all the time).
    void take(std::uint32_t packed);

    void start();
    // Ends the take.  False when nothing was played in it; it is dropped then.
    bool stop();
    // Drops a finished take (once it is written).
    void discard();

    bool isRecording() const { return recording_; }
    // A finished take not written yet.
    bool hasTake() const { return !recording_ && !messages_.empty(); }

    const std::vector<platform::midi::TimedMessage>& messages() const { return messages_; }
    std::int64_t endMicroseconds() const { return endMicroseconds_; }
    QDateTime startedAt() const { return startedAt_; }

    // Called (from `take`) when the take has filled its room and ended by itself.
    std::function<void()> onFull;

    // Tests run the recorder on a clock of their own.
    void setClock(Clock::time_point (*now)()) { now_ = now; }

private:
    std::int64_t sinceStart() const;
    void follow(std::uint32_t packed);
    void end();

    struct ChannelSound {
        int bankMsb = -1, bankLsb = -1, program = -1;
    };

    std::size_t capacity_;
    Clock::time_point (*now_)() = &Clock::now;
    bool recording_ = false;
    Clock::time_point start_{};
    QDateTime startedAt_;
    std::int64_t endMicroseconds_ = 0;
    std::size_t opening_ = 0; // messages that set up the sounds at the start
    std::vector<platform::midi::TimedMessage> messages_;
    std::array<ChannelSound, 16> sounds_{};
    std::bitset<16 * 128> sounding_; // channel * 128 + key, within the take
};
