#pragma once
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

namespace platform::midi {

// One channel message of a track (packed as MidiMessage.h packs it) and its
// time in ticks from the start of the file.
struct MidiFileEvent {
    std::int64_t tick;
    std::uint32_t packed;
};

struct MidiFileTrack {
    std::vector<MidiFileEvent> events; // in the order of the file
    std::int64_t endTick = 0;          // End of Track, or the last event when it has none
};

// The tempo changes of the whole file, resolved: where a tick lies in time
// and in quarter notes.  Files timed in ticks per quarter note count quarters
// in ticks and time through the tempo; SMPTE-timed files count time in ticks
// and quarters through the tempo.  No tempo means 120 quarters a minute.
class MidiTempoMap {
public:
    MidiTempoMap() = default;
    // `changes` are (tick, microseconds per quarter) in any order; a change of
    // 0 microseconds has no meaning and is left out.
    MidiTempoMap(std::vector<std::pair<std::int64_t, std::uint32_t>> changes, int ticksPerQuarter,
                 double microsecondsPerTick);

    double microseconds(std::int64_t tick) const;
    double quarters(std::int64_t tick) const;

private:
    struct Stretch {
        std::int64_t tick;
        double microseconds;
        double quarters;
        double microsecondsPerTick;
        double quartersPerTick;
    };
    const Stretch& stretchAt(std::int64_t tick) const;
    std::vector<Stretch> stretches_{Stretch{0, 0, 0, 500000.0 / 96, 1.0 / 96}};
};

struct MidiFileContents {
    int format = 0;
    int ticksPerQuarter = 0;   // 0 when the file counts SMPTE frames
    int framesPerSecond = 0;   // SMPTE: 24, 25, 29 (29.97 drop frame) or 30
    int ticksPerFrame = 0;
    std::vector<MidiFileTrack> tracks;
    MidiTempoMap tempo;
};

struct MidiFileReadResult {
    bool ok = false;
    QString error; // one line saying what is wrong; empty when ok
    MidiFileContents contents;
    explicit operator bool() const { return ok; }
};

// Reads a Standard MIDI File of format 0 or 1: the header, every track with
// its running status, system exclusive and meta events (tempo changes go into
// the map; the rest are passed over), chunks of other kinds skipped.  A file
// that breaks the format anywhere gives an error and no contents.
MidiFileReadResult readStandardMidiFile(QByteArrayView bytes);

} // namespace platform::midi
