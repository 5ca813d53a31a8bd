#pragma once
#include "notivo/score/ScoreModel.h"

#include <QImage>

#include <algorithm>

namespace platform { class PictureBox; }

namespace notivo::staff {

// The horizontal scroll bar of the view: score column s + w shows in window column w.
inline constexpr int ScrollMin = 0;
inline constexpr int ScrollMax = 450;
inline constexpr int ScrollSmallChange = 1;
inline constexpr int ScrollLargeChange = 7;
inline constexpr int WindowColumns = 50; // window columns drawn (31..50 fall beyond the canvas)
inline constexpr int ShownPositions = 30;

// The cells the staff shows: calls draw(w, r, id, accidental) for every
// non-empty cell of positions 1..30 in score columns first..last (clipped to
// the grid), w being the window column (1 for `first`), columns left to
// right and each column top to bottom.
template <class Draw>
void forEachShownCell(const Score& score, int first, int last, Draw&& draw)
{
    const int from = std::max(first, 1);
    const int to = std::min(last, ScoreColumns);
    for (int c = from; c <= to; ++c) {
        const std::uint8_t* notes = score.ScoreNotes.column(c);
        const std::uint8_t* accidentals = score.ScoreAccidentals.column(c);
        for (int r = 1; r <= ShownPositions; ++r)
            if (notes[r - 1] != 0)
                draw(c - first + 1, r, notes[r - 1], accidentals[r - 1]);
    }
}

// Redraws the whole view: the staff, then every note and rest of positions
// 1..30 in score columns scroll + 1 .. scroll + 50.  The scroll value is held
// to 0..450.
void DisplayPentagramNotes(QImage& canvas, const Score& score, int scroll);
// The same on the editor's canvas; with RefreshBox the canvas is repainted
// before returning, otherwise at its next repaint.
void DisplayPentagramNotes(platform::PictureBox& box, const Score& score, int scroll, bool RefreshBox = false);

} // namespace notivo::staff
