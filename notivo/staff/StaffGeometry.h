#pragma once
#include <QImage>
#include <QPoint>
#include <optional>

namespace platform { class PictureBox; }

// The coordinate system of the staff canvas shared by drawing, mouse editing,
// playback and printing.
namespace notivo::staff {

inline constexpr int CanvasWidth = 523;   // the staff canvas, in pixels
inline constexpr int CanvasHeight = 177;
inline constexpr int StaffTop = 70;       // y of the top staff line
inline constexpr int StaffLineGap = 10;   // five lines: 70, 80, 90, 100, 110
inline constexpr int StaffLineCount = 5;
inline constexpr int ClefX = 5;           // clef's top-left corner is (5, staff top - 20)
inline constexpr int ClefAboveStaff = 20;

// Row of staff line i (0..4) and the clef's top-left corner, for a staff
// whose top line lies at `top`.
constexpr int staffLineY(int top, int i) { return top + StaffLineGap * i; }
constexpr QPoint clefOrigin(int top) { return {ClefX, top - ClefAboveStaff}; }

// Row anchor of staff position r (the y handed to Draw_Note) and the centre of its head.
constexpr int rowAnchorY(int r) { return 5 * r + 13; }
constexpr int headCentreY(int r) { return 5 * r + 15; }
// Columns: window column w is anchored at x = 16 w + 30 (the x handed to
// Draw_Note); the canvas shows window columns 1..30.
inline constexpr int ColumnPitch = 16;
inline constexpr int ColumnOrigin = 30;
inline constexpr int VisibleColumns = 30;
constexpr int columnAnchorX(int w) { return ColumnPitch * w + ColumnOrigin; }
// Left edge of the band of window column w: selection bands start there.
constexpr int columnBandEdge(int w) { return columnAnchorX(w) - 5; }

// Inverse mapping for the mouse: nearest position / window column, halves to even.
int positionAt(double y);
int windowColumnAt(double x);

// The play line: a run draws it just right of the column it has finished,
// Step and the position strip through the column they sound.
constexpr int lineAfterColumn(int w) { return columnAnchorX(w) + 18; }
constexpr int lineThroughColumn(int w) { return columnAnchorX(w) + 2; }

// The window column under x on the position strip, halves to even (the
// strip lies 5 pixels further left in the window than the canvas).
inline constexpr int StripColumnOrigin = ColumnOrigin + 5;
int stripColumnAt(double x);

// The view follows the column that sounds once it lies beyond the visible
// columns: a run keeps it at the last visible window column, Step four
// columns further left so that the next ones show.  The scroll value that
// does so, or nothing while the column is in view or the view cannot follow.
inline constexpr int RunFollowColumn = 30;
inline constexpr int StepFollowColumn = 26;
constexpr std::optional<int> followScroll(int column, int followColumn, int scrollMaximum)
{
    if (column > VisibleColumns && column - followColumn < scrollMaximum)
        return column - followColumn;
    return std::nullopt;
}

// A black one-pixel horizontal line on a 32-bit canvas from x up to x2 (x2
// itself not drawn, as with a two-point polyline), clipped to the canvas.
void drawHorizontalLine(QImage& canvas, int y, int x, int x2);

// Clears the canvas to white and draws the clef (AND copy at (5, y - 20)) and
// the five staff lines from x 0 across the whole width, top line at y.
void Pentagram(QImage& canvas, int y);
// The same on a picture box (cleared to its back colour); repainted at once with Refresh.
void Pentagram(platform::PictureBox& box, int y, bool Refresh = false);

} // namespace notivo::staff
