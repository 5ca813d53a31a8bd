#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// How the readers of other programs' files turn notes placed in time into
// the columns of the grid; times are counted in semiquavers from the start.
namespace notivo {

class ImportReport;
class Score;

struct TimedNote {
    double start;
    double end;              // when it stops sounding: silence is the time no note sounds through
    std::uint8_t id;         // NoteId::Semiquaver .. NoteId::Whole
    int position;            // staff position as written, any (moved by octaves into the played ones)
    std::uint8_t accidental; // Accidental::None, Sharp or Flat
};

// A rest written in a file, in one voice.
struct TimedRest {
    double start;
    double end;
    int voice;
};

// What a semiquaver of silence left over after the quarter and quaver pauses
// becomes: an empty column (written notation, where it was a rest) or
// nothing (a performance, whose notes often end a little early).
enum class LeftoverSemiquaver { EmptyColumn, Nothing };

// Replaces the score by the notes and rests: notes that start together share
// a column; silence becomes pauses, a rest of the file on its own, a stretch
// without any on its own, silence after the last note or rest none.  A rest
// that starts with notes of another voice belongs to their column: its time
// is the column's.  Notes move by octaves into the played positions; a note
// whose line or space in its chord is taken goes to another spelling of its
// pitch if there is one free.  Columns stop at the last of the grid.  What
// changed is counted in `report`.
void assembleColumns(std::vector<TimedNote> notes, std::vector<TimedRest> rests, LeftoverSemiquaver leftover,
                     Score& score, ImportReport& report);

// A pitch written on the staff: position and accidental.
struct Spelling {
    int position;
    std::uint8_t accidental;
    bool operator==(const Spelling&) const = default;
};

// The ways the staff writes MIDI key `key`, in this order: natural, sharp,
// flat (a black key has a sharp and a flat spelling, a white key a natural
// one and, for E, F, B and C, a sharp or a flat one).
std::array<std::optional<Spelling>, 3> spellingsOf(int key);

} // namespace notivo
