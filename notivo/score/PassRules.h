#pragma once
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "notivo/score/ScoreModel.h"

namespace notivo {

// Playback walks the score in passes: a note of id n sounds through n passes
// over its column, each one tempo unit long; a rest makes its pass 4 or 2
// units of silence.
inline constexpr int PlayedPositions = 30; // positions 1..30 sound
inline constexpr int QuarterPauseUnits = 4;
inline constexpr int QuaverPauseUnits = 2;
// Every inverted pitch value that positions 1..30 can give with an accidental
// (31: position 1 sharp, 83: position 30 flat): the range released when a run
// or a step ends, so that no note is left sounding.
inline constexpr int LowestPlayedValue = 31;
inline constexpr int HighestPlayedValue = 83;

// The tempo bar runs 0..180 and starts at 110 (a unit of 90 ms).
inline constexpr int TempoMaximum = 180;
inline constexpr int TempoAtStart = 110;

// One tempo unit in milliseconds for a tempo bar value (0..180).
constexpr int unitMilliseconds(int tempoValue) { return 200 - tempoValue; }

// A message of a pass: note-on or note-off of an inverted pitch value (127 - key).
struct PassNote {
    bool on;
    int value;
    bool operator==(const PassNote&) const = default;
};

struct PassStart {
    std::vector<PassNote> notes; // in the order they go out
    QString names;               // the label: the names struck now, or the last ones shown
    int lengthMs = 0;            // nominal length of the pass
};

struct PassEnd {
    std::vector<PassNote> notes; // note-offs of the notes that ended with this pass
    int passedColumn = 0;        // the column of this pass; the view follows it
    int lineColumn = 0;          // the play line stands just right of this column
};

// The rules of one continuous run, pass by pass, without any waiting: the
// caller starts a pass, lets its nominal length go by as it sees fit, and
// ends it.  The note ids of the run's columns are copied when the run starts
// and counted down in that copy, so edits made meanwhile do not change what
// the run plays; accidentals are read from the score as each note starts and
// ends, but a note-off always releases the key its position struck.
class PassRules {
public:
    PassRules(const Score& score, int first, int last, int unitMs);

    bool finished() const { return column_ > last_; }
    // The column the next pass plays (after the last pass: last + 1).
    int column() const { return column_; }

    PassStart startPass();
    PassEnd endPass();

private:
    std::int16_t& working(int position, int column);

    const Score& score_;
    int last_;
    int unitMs_;
    int column_;
    bool sustain_ = false;
    QString lastNames_;
    std::vector<std::int16_t> working_;
    // The value each position struck last (0: none sounding).
    std::array<int, PlayedPositions + 1> sounding_{};
};

// A whole run as timed notes, for the exporters.
struct PerformedNote {
    std::int64_t timeMs;
    bool on;
    int value; // inverted pitch (127 - key), as FixNotes gives it
    bool operator==(const PerformedNote&) const = default;
};
struct Performance {
    std::vector<PerformedNote> notes;
    std::int64_t endMs;
};

// The run from column 1 at unitMilliseconds per unit (200 - tempo bar value),
// as Play sends it with no pause, on the nominal deadlines; ends with the
// note-off of every note still sounding; endMs is the last deadline.
Performance performRun(const Score& score, int unitMilliseconds);

} // namespace notivo
