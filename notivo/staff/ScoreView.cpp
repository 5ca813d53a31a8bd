#include "notivo/staff/ScoreView.h"

#include "notivo/editor/ScoreModel.h"
#include "notivo/staff/GlyphSheet.h"
#include "notivo/staff/NoteGlyphs.h"
#include "notivo/staff/StaffGeometry.h"
#include "platform/raster/PictureBox.h"

#include <algorithm>

namespace notivo::staff {
namespace {

// The widest reach of a glyph left of its column anchor.
constexpr int MaxGlyphShift = 7;

void drawNotes(QImage& canvas, const Score& score, int scroll)
{
    const QImage& sheet = glyphSheet();
    const int s = std::clamp(scroll, ScrollMin, ScrollMax);
    for (int w = 1; w <= WindowColumns; ++w) {
        const int x = columnAnchorX(w);
        if (x - MaxGlyphShift >= canvas.width())
            break; // this and later columns lie wholly beyond the canvas
        const int c = s + w;
        const std::uint8_t* notes = score.ScoreNotes.column(c);
        const std::uint8_t* accidentals = score.ScoreAccidentals.column(c);
        for (int r = 1; r <= ShownPositions; ++r) {
            if (notes[r - 1] != 0)
                Draw_Note(canvas, sheet, x, rowAnchorY(r), notes[r - 1], accidentals[r - 1]);
        }
    }
}

} // namespace

void DisplayPentagramNotes(QImage& canvas, const Score& score, int scroll)
{
    Pentagram(canvas, StaffTop);
    drawNotes(canvas, score, scroll);
}

void DisplayPentagramNotes(platform::PictureBox& box, const Score& score, int scroll, bool RefreshBox)
{
    Pentagram(box, StaffTop);
    drawNotes(box.image(), score, scroll);
    if (RefreshBox)
        box.refresh();
}

} // namespace notivo::staff
