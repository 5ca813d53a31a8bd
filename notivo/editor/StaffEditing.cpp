#include "notivo/editor/StaffEditing.h"

#include <algorithm>
#include <cstring>

#include "notivo/score/NotePitch.h"
#include "notivo/staff/StaffGeometry.h"
#include "platform/chrome/Rounding.h"

namespace notivo::editing {

EditMode editMode(bool selectChecked, bool insertGapChecked, bool deleteChecked)
{
    if (insertGapChecked)
        return EditMode::InsertGap;
    if (selectChecked)
        return EditMode::Select;
    if (deleteChecked)
        return EditMode::DeleteColumn;
    return EditMode::Normal;
}

std::uint8_t paletteAccidental(bool sharpChecked, bool flatChecked)
{
    if (flatChecked)
        return Accidental::Flat;
    if (sharpChecked)
        return Accidental::Sharp;
    return Accidental::None;
}

int gapColumnAt(double x)
{
    constexpr int halfwayBeforeFirst = staff::ColumnOrigin - staff::ColumnPitch / 2;
    return static_cast<int>(platform::roundHalfEven((x - halfwayBeforeFirst) / staff::ColumnPitch));
}

int clampColumn(int column) { return std::clamp(column, 1, ScoreColumns); }

PressEdit pressNormal(Score& score, int r, int w, int s, std::uint8_t accidental)
{
    PressEdit result;
    if (w <= 0 || r <= 0)
        return result;
    const int c = w + s;
    const int id = score.SelectedNoteId;
    score.noteColumnWritten(c);
    if (score.ScoreNotes.get(r, c) == NoteId::Empty) {
        if (id < NoteId::QuarterPause)
            score.placeNote(r, c, static_cast<std::uint8_t>(id), accidental);
        else if (isRestId(id))
            score.placeRest(c, static_cast<std::uint8_t>(id));
    } else {
        score.eraseCell(r, c);
    }
    result.edited = true;
    if (id < NoteId::QuarterPause)
        result.preview = Preview{FixNotes(r, score.ScoreAccidentals.get(r, c)), id * PreviewMillisecondsPerId};
    return result;
}

namespace {

bool columnHoldsAnything(const Score& score, int column)
{
    const std::uint8_t* cells = score.ScoreNotes.column(column);
    return std::any_of(cells, cells + ScorePositions, [](std::uint8_t id) { return id != 0; });
}

} // namespace

bool insertGap(Score& score, int column)
{
    column = clampColumn(column);
    if (columnHoldsAnything(score, ScoreColumns))
        return false;
    if (score.ColumnCount < ScoreColumns)
        return score.insertGap(column);
    // Every column is counted but the last one is empty: it makes room.
    for (int k = ScoreColumns; k > column; --k)
        std::memcpy(score.ScoreNotes.column(k), score.ScoreNotes.column(k - 1), ScorePositions);
    std::memset(score.ScoreNotes.column(column), 0, ScorePositions);
    return true;
}

bool deleteColumn(Score& score, int column)
{
    const int last = std::min(score.ColumnCount, ScoreColumns);
    if (column < 1 || column > last)
        return false;
    // The accidentals go with their notes: a sharp left behind would fall
    // to the note that moves into its cell and change its pitch.
    for (ScoreGrid* grid : {&score.ScoreNotes, &score.ScoreAccidentals}) {
        for (int k = column; k < last; ++k)
            std::memcpy(grid->column(k), grid->column(k + 1), ScorePositions);
        std::memset(grid->column(last), 0, ScorePositions);
    }
    score.ColumnCount = last - 1;
    return true;
}

SelectionRange selectionAfterDrag(int anchorColumn, int releaseColumn)
{
    const int anchor = clampColumn(anchorColumn);
    const int release = clampColumn(releaseColumn);
    SelectionRange range;
    if (release > anchor)
        range = {anchor, release - 1};
    else
        range = {release, anchor - 1};
    if (range.end < range.start)
        return {};
    return range;
}

Band selectionBand(int anchorX, double pointerX)
{
    const int x1 = staff::columnBandEdge(staff::windowColumnAt(pointerX));
    if (anchorX < x1)
        return {anchorX, x1 - anchorX};
    return {x1, anchorX - x1};
}

int edgeScroll(bool leftButtonOnly, double x, int scroll, int maximum)
{
    if (leftButtonOnly && x > 510 && scroll < maximum)
        ++scroll;
    if (leftButtonOnly && x < 15 && scroll > 0)
        --scroll;
    return scroll;
}

CursorChange cursorForCell(const Score& score, int r, int c, std::uint8_t canvasCursorState)
{
    if (r <= 0 || r > ScorePositions || c <= 0 || c >= ScoreColumns)
        return CursorChange::None;
    const bool occupied = score.ScoreNotes.cell(r, c) != NoteId::Empty;
    if (occupied && canvasCursorState == 0)
        return CursorChange::Eraser;
    if (!occupied && canvasCursorState == 1)
        return CursorChange::Drawing;
    return CursorChange::None;
}

} // namespace notivo::editing
