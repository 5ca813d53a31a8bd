#pragma once
#include <array>
#include <cstdint>

namespace notivo {

// Note ids as stored in ScoreNotes; they are also the indices of the note
// palette's option buttons, so a palette choice is stored unchanged.
namespace NoteId {
inline constexpr std::uint8_t Empty = 0;
inline constexpr std::uint8_t Semiquaver = 1;
inline constexpr std::uint8_t Quaver = 2;
inline constexpr std::uint8_t Quarter = 3;
inline constexpr std::uint8_t Half = 4;
inline constexpr std::uint8_t Whole = 5;
inline constexpr std::uint8_t QuarterPause = 10;
inline constexpr std::uint8_t QuaverPause = 11;
} // namespace NoteId

// Accidental codes as stored in ScoreAccidentals; any other value counts as none.
namespace Accidental {
inline constexpr std::uint8_t None = 0;
inline constexpr std::uint8_t Sharp = 1;
inline constexpr std::uint8_t Flat = 2;
} // namespace Accidental

inline constexpr int ScorePositions = 40; // staff positions (rows), 1-based
inline constexpr int ScoreColumns = 500;  // time columns, 1-based
inline constexpr int RestPosition = 15;   // a rest is stored here and fills its column

constexpr bool isRestId(int id) { return id == NoteId::QuarterPause || id == NoteId::QuaverPause; }

// One 40 x 500 grid of bytes, indexed (position 1..40, column 1..500).  Cell
// (p, c) lives at (c - 1) * 40 + (p - 1), so a column is 40 contiguous bytes.
// Out-of-range reads give 0 and out-of-range writes are refused: an index
// outside the grid is a caller's mistake that must never touch memory.
class ScoreGrid {
public:
    static constexpr bool contains(int position, int column)
    {
        return position >= 1 && position <= ScorePositions && column >= 1 && column <= ScoreColumns;
    }

    std::uint8_t get(int position, int column) const
    {
        return contains(position, column) ? cells_[offset(position, column)] : 0;
    }
    // Returns false (and writes nothing) when the cell lies outside the grid.
    bool set(int position, int column, std::uint8_t value)
    {
        if (!contains(position, column))
            return false;
        cells_[offset(position, column)] = value;
        return true;
    }

    // Unchecked access for loops whose bounds are already known to be valid.
    std::uint8_t cell(int position, int column) const { return cells_[offset(position, column)]; }
    std::uint8_t& cell(int position, int column) { return cells_[offset(position, column)]; }

    // The 40 cells of one column (column 1..500, unchecked).
    const std::uint8_t* column(int column) const { return cells_.data() + (column - 1) * ScorePositions; }
    std::uint8_t* column(int column) { return cells_.data() + (column - 1) * ScorePositions; }

    void clear() { cells_.fill(0); }
    bool isClear() const;

    const std::array<std::uint8_t, ScorePositions * ScoreColumns>& cells() const { return cells_; }
    bool operator==(const ScoreGrid&) const = default;

private:
    static constexpr int offset(int position, int column) { return (column - 1) * ScorePositions + (position - 1); }
    std::array<std::uint8_t, ScorePositions * ScoreColumns> cells_{};
};

// The score with the editor state that travels with it.  The program has
// one, read and written by the editor, the view and printing; tests build
// their own.  The model knows nothing of windows: callers redraw.
class Score {
public:
    ScoreGrid ScoreNotes;
    ScoreGrid ScoreAccidentals;
    int ColumnCount = 0;              // columns in use, 0..500
    std::int16_t SelectionStart = 0;  // selected column range; both 0 = none
    std::int16_t SelectionEnd = 0;
    std::int16_t SelectedNoteId = NoteId::Quarter; // palette choice

    // File New: note ids of columns 1..ColumnCount cleared (accidentals kept,
    // stale ones are still saved), ColumnCount 0.
    void clearScore();

    // File Open: every cell of both grids cleared and ColumnCount 0.
    void resetForLoad();

    // Edit Delete: positions 1..39 of every selected column cleared
    // (position 40 and the accidentals are kept).  Returns false when there is
    // no selection (nothing changed and nothing needs redrawing).
    bool deleteSelection();

    // Edit Move Up / Move Down: note ids of every selected column shifted one
    // position up (toward 1) or down (toward 40); the edge position keeps its
    // value and accidentals stay where they are.  False when no selection.
    bool moveSelectionUp();
    bool moveSelectionDown();

    // Raises ColumnCount to `column` when an edit wrote beyond it (never lowers it).
    void noteColumnWritten(int column);

    // Staff editing.  Each returns false and changes nothing when the cell
    // lies outside the grid.
    // A note (id 1..5) with its accidental into an empty cell; removes a rest
    // of the column; raises ColumnCount.
    bool placeNote(int position, int column, std::uint8_t id, std::uint8_t accidental);
    // A rest (10 or 11): the whole column's note ids cleared, the rest stored
    // at RestPosition; accidentals kept; raises ColumnCount.
    bool placeRest(int column, std::uint8_t id);
    // Erase the note or rest of a cell and its accidental.
    bool eraseCell(int position, int column);
    // An empty column inserted at `column` (1..ColumnCount + 1): the columns
    // from there on move one right, ColumnCount grows by 1.  Refused when the
    // score already uses all 500 columns, so that no written column is lost.
    bool insertGap(int column);

private:
    // The selected range clipped to the grid; false when it is empty.
    bool selectedRange(int& first, int& last) const;
};

} // namespace notivo
