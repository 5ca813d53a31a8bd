#pragma once
#include <QImage>

namespace platform { class PictureBox; }

namespace notivo {
class Score;
}

namespace notivo::staff {

// The horizontal scroll bar of the view: score column s + w shows in window column w.
inline constexpr int ScrollMin = 0;
inline constexpr int ScrollMax = 450;
inline constexpr int ScrollSmallChange = 1;
inline constexpr int ScrollLargeChange = 7;
inline constexpr int WindowColumns = 50; // window columns drawn (31..50 fall beyond the canvas)
inline constexpr int ShownPositions = 30;

// Redraws the whole view: the staff, then every note and rest of positions
// 1..30 in score columns scroll + 1 .. scroll + 50.  The scroll value is held
// to 0..450.
void DisplayPentagramNotes(QImage& canvas, const Score& score, int scroll);
// The same on the editor's canvas; with RefreshBox the canvas is repainted
// before returning, otherwise at its next repaint.
void DisplayPentagramNotes(platform::PictureBox& box, const Score& score, int scroll, bool RefreshBox = false);

} // namespace notivo::staff
