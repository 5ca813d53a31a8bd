#pragma once
#include <QString>

#include <array>

namespace notivo {

// What a reader of another program's file left out or changed on the way
// into the grid, counted as it reads and said once after the open as one
// line ("3 notes moved an octave down; 2 dots left out; parts 2-4 left out").
// A file read in full says nothing.
class ImportReport {
public:
    enum Item {
        NotesMovedDown, // by octaves, into the played positions
        NotesMovedUp,
        Dots,
        TupletNotes,
        ShortValues,    // shorter than a semiquaver
        LongValues,     // longer than a whole note
        TiesRounded,    // a tied note whose whole is no value of the grid
        DoubleAccidentals,
        Microtones,
        GraceNotes,
        CueNotes,
        UnpitchedNotes,
        PercussionNotes,
        Unisons,        // a second note on the same pitch at the same time
        NoFreeCell,     // its line or space in the chord was taken
        Lyrics,
        Dynamics,
        Repeats,
        ItemCount
    };

    void count(Item item, int howMany = 1) { counts_[item] += howMany; }
    int counted(Item item) const { return counts_[item]; }

    // A note moved by `octaves` into the played positions: down when
    // positive, up when negative (counted, and the largest move kept for the wording).
    void noteOctaveMove(int octaves);

    // Parts after the first, which are left out: their count.
    void setPartsLeftOut(int parts) { partsLeftOut_ = parts; }
    // The score was full at its last column; `notes` more were not read.
    void setCut(int notes) { cut_ = true, notesAfterCut_ = notes; }
    bool cut() const { return cut_; }

    // The one line said after the open; empty when nothing was left out or changed.
    QString text() const;

private:
    std::array<int, ItemCount> counts_{};
    int largestMoveDown_ = 0;
    int largestMoveUp_ = 0;
    int partsLeftOut_ = 0;
    bool cut_ = false;
    int notesAfterCut_ = 0;
};

// What a reader of another program's file gives back: the score was
// replaced, with the report of what changed on the way, or left as it was,
// with what is wrong with the file.
struct ImportResult {
    bool ok = false;
    QString problem; // one line without the file's name; empty when ok
    QString report;  // ImportReport::text(); empty when read in full
    explicit operator bool() const { return ok; }
};

} // namespace notivo
