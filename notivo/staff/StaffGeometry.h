#pragma once
#include <QImage>
#include <QPoint>


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
// Column anchor of window column w (the x handed to Draw_Note).
constexpr int columnAnchorX(int w) { return 16 * w + 30; }

// Inverse mapping for the mouse: nearest position / window column, halves to even.
int positionAt(double y);
int windowColumnAt(double x);

// A black one-pixel horizontal line on a 32-bit canvas from x up to x2 (x2
// itself not drawn, as with a two-point polyline), clipped to the canvas.
void drawHorizontalLine(QImage& canvas, int y, int x, int x2);

// Clears the canvas to white and draws the clef (AND copy at (5, y - 20)) and
// the five staff lines from x 0 across the whole width, top line at y.
void Pentagram(QImage& canvas, int y);
// The same on a picture box (cleared to its back colour); repainted at once with Refresh.
void Pentagram(platform::PictureBox& box, int y, bool Refresh = false);

} // namespace notivo::staff
