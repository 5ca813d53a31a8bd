#pragma once
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace platform::midi {

// A short message as sent to a device (packed as MidiMessage.h packs it) and
// when, counted from the start of the performance.
struct TimedMessage {
    std::int64_t microseconds;
    std::uint32_t packed;
};

// Resolution of the files we write: 960 ticks a quarter note at 120 beats a
// minute is one tick every 0.52 ms, so no event moves by more than 0.27 ms.
inline constexpr int SmfTicksPerQuarter = 960;
inline constexpr int SmfMicrosecondsPerQuarter = 500000;

// The performance as a Standard MIDI File of type 0 with one track: its name,
// the tempo, the messages in time order (equal times keep the order they were
// given in; times before 0 count as 0) and End of Track, at
// `endMicroseconds` when that is later than the last message, so that a
// closing rest keeps its length.  Bytes that are no channel message (data
// bytes in the status place, system messages) are left out: they have no
// place in a file.
QByteArray standardMidiFile(const QString& trackName, const std::vector<TimedMessage>& messages,
                            std::int64_t endMicroseconds = 0);

// Ticks of the file for a time in microseconds (halves to even; a time
// before 0 counts as 0, one beyond the reach of a delta time as the last tick).
std::int64_t smfTicks(std::int64_t microseconds);

} // namespace platform::midi
