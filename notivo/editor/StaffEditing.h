#pragma once
#include <cstdint>
#include <optional>

#include "notivo/score/ScoreModel.h"
#include "notivo/staff/StaffGeometry.h"

// The rules of editing the score with the mouse on the staff canvas, apart
// from any window: hit-testing, what a press writes or erases, gaps, column
// deletion, the selection range and edge scrolling.
namespace notivo::editing {

// What a press or a drag does, from the mode boxes of the palette.  Insert
// Gap wins over Select; Delete applies only when neither is checked.
enum class EditMode { Normal, Select, InsertGap, DeleteColumn };
EditMode editMode(bool selectChecked, bool insertGapChecked, bool deleteChecked);

// The accidental a new note gets: 2 flat, else 1 sharp, else 0.
std::uint8_t paletteAccidental(bool sharpChecked, bool flatChecked);

// Gap column: the window column before which a gap goes, chosen while the
// pointer lies between the anchors of columns g - 1 and g.
int gapColumnAt(double x);
// x of the one-pixel marker drawn where a gap before window column g would open.
constexpr int gapMarkerX(int g) { return staff::columnAnchorX(g - 1) + 10; }
// A column number held inside the grid (1..500).
int clampColumn(int column);

// The preview a press sounds: inverted pitch and length.
inline constexpr int PreviewMillisecondsPerId = 110;
struct Preview {
    int v = 0;
    int milliseconds = 0;
    bool operator==(const Preview&) const = default;
};

// A press in the normal mode on staff position r of window column w with the
// view scrolled by s: writes the palette's note (with `accidental`) or rest
// into an empty cell, or erases the cell that holds something.  Nothing
// happens off the staff area (w <= 0 or r <= 0): returns false then.
// `preview` is set when the palette holds a note, also after an erase.
struct PressEdit {
    bool edited = false;
    std::optional<Preview> preview;
};
PressEdit pressNormal(Score& score, int r, int w, int s, std::uint8_t accidental);

// Opens an empty column at score column `column` (held to 1..500): the
// columns from there move one right and ColumnCount grows by one, never
// beyond 500.  Refused (nothing changes) when column 500 holds anything, so
// no note is ever pushed out of the grid; when all 500 columns are counted
// but the last is empty, that empty column drops out.  Accidentals stay
// where they are, as with every column move of the editor.
bool insertGap(Score& score, int column);

// Deletes score column `column` and moves the following columns one to the
// left, each note with its accidental; ColumnCount becomes one less.
// Refused beyond the columns in use.
bool deleteColumn(Score& score, int column);

// The selected range after a drag from score column `anchorColumn` to the
// release over `releaseColumn`: the columns from the lower to the higher,
// the higher one excluded.  Both are held to 1..500; a drag that covers no
// column gives no selection (0, 0).
struct SelectionRange {
    int start = 0;
    int end = 0;
    bool operator==(const SelectionRange&) const = default;
};
SelectionRange selectionAfterDrag(int anchorColumn, int releaseColumn);

// The selection band while dragging: from the band edge of the pressed
// column to the band edge of the pointer's column.
struct Band {
    int x = 0;
    int width = 0;
    bool operator==(const Band&) const = default;
};
Band selectionBand(int anchorX, double pointerX);

// Edge scrolling during a drag with the left button alone: one column right
// beyond x 510, one column left before x 15, within 0..maximum.
int edgeScroll(bool leftButtonOnly, double x, int scroll, int maximum);

// The canvas cursor that fits the cell under the pointer when pencil
// cursors are enabled: the eraser over a note or rest, the drawing cursor
// over an empty cell; nothing to change while the installed one fits.
enum class CursorChange { None, Eraser, Drawing };
CursorChange cursorForCell(const Score& score, int r, int c, std::uint8_t canvasCursorState);

} // namespace notivo::editing
