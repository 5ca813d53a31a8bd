#pragma once
#include <QByteArray>

#include <cstdint>
#include <vector>

#include "platform/midi/StandardMidiFile.h"

namespace notivo {

class Score;
struct ExportSettings;

// What Play sends for the whole score from column 1, with the messages that
// choose the instrument first, each at its time from the start.
struct TimedPerformance {
    std::vector<platform::midi::TimedMessage> messages;
    std::int64_t endMicroseconds = 0; // the end of the last pass
};
TimedPerformance performedMessages(const Score& score, const ExportSettings& settings);

// That performance as a Standard MIDI File, its track named after the instrument.
QByteArray midiFile(const Score& score, const ExportSettings& settings);

} // namespace notivo
