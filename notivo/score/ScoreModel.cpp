#include "notivo/score/ScoreModel.h"

#include <algorithm>
#include <cstring>

namespace notivo {

bool ScoreGrid::isClear() const
{
    return std::all_of(cells_.begin(), cells_.end(), [](std::uint8_t v) { return v == 0; });
}

void Score::clearScore()
{
    const int last = std::clamp(ColumnCount, 0, ScoreColumns);
    for (int c = 1; c <= last; ++c)
        std::memset(ScoreNotes.column(c), 0, ScorePositions);
    ColumnCount = 0;
}

void Score::resetForLoad()
{
    ScoreAccidentals.clear();
    ScoreNotes.clear();
    ColumnCount = 0;
}

bool Score::selectedRange(int& first, int& last) const
{
    if (SelectionStart == 0 && SelectionEnd == 0)
        return false;
    // The mouse can produce bounds beyond the grid; only columns that exist are touched.
    first = std::max<int>(SelectionStart, 1);
    last = std::min<int>(SelectionEnd, ScoreColumns);
    return first <= last;
}

bool Score::deleteSelection()
{
    int first = 0, last = 0;
    if (!selectedRange(first, last))
        return SelectionStart != 0 || SelectionEnd != 0;
    for (int c = first; c <= last; ++c)
        std::memset(ScoreNotes.column(c), 0, ScorePositions - 1); // position 40 is kept
    return true;
}

bool Score::moveSelectionUp()
{
    int first = 0, last = 0;
    if (!selectedRange(first, last))
        return SelectionStart != 0 || SelectionEnd != 0;
    for (int c = first; c <= last; ++c) {
        std::uint8_t* col = ScoreNotes.column(c);
        for (int p = 0; p < ScorePositions - 1; ++p)
            col[p] = col[p + 1];
    }
    return true;
}

bool Score::moveSelectionDown()
{
    int first = 0, last = 0;
    if (!selectedRange(first, last))
        return SelectionStart != 0 || SelectionEnd != 0;
    for (int c = first; c <= last; ++c) {
        std::uint8_t* col = ScoreNotes.column(c);
        for (int p = ScorePositions - 1; p > 0; --p)
            col[p] = col[p - 1];
    }
    return true;
}

void Score::noteColumnWritten(int column)
{
    if (column > ColumnCount)
        ColumnCount = std::min(column, ScoreColumns);
}

bool Score::placeNote(int position, int column, std::uint8_t id, std::uint8_t accidental)
{
    if (!ScoreGrid::contains(position, column))
        return false;
    noteColumnWritten(column);
    if (isRestId(ScoreNotes.cell(RestPosition, column)))
        ScoreNotes.cell(RestPosition, column) = NoteId::Empty;
    ScoreNotes.cell(position, column) = id;
    ScoreAccidentals.cell(position, column) = accidental;
    return true;
}

bool Score::placeRest(int column, std::uint8_t id)
{
    if (!ScoreGrid::contains(RestPosition, column))
        return false;
    noteColumnWritten(column);
    std::memset(ScoreNotes.column(column), 0, ScorePositions);
    ScoreNotes.cell(RestPosition, column) = id;
    return true;
}

bool Score::eraseCell(int position, int column)
{
    if (!ScoreGrid::contains(position, column))
        return false;
    ScoreNotes.cell(position, column) = NoteId::Empty;
    ScoreAccidentals.cell(position, column) = Accidental::None;
    return true;
}

bool Score::insertGap(int column)
{
    if (ColumnCount >= ScoreColumns || column < 1 || column > ScoreColumns)
        return false;
    // Columns column..ColumnCount move one right (ColumnCount + 1 still lies in the grid).
    for (int k = ColumnCount + 1; k > column; --k)
        std::memcpy(ScoreNotes.column(k), ScoreNotes.column(k - 1), ScorePositions);
    std::memset(ScoreNotes.column(column), 0, ScorePositions);
    ++ColumnCount;
    return true;
}

} // namespace notivo
