#include "notivo/staff/ScoreView.h"

#include "notivo/score/ScoreModel.h"
#include "notivo/staff/GlyphSheet.h"
#include "notivo/staff/NoteGlyphs.h"
#include "notivo/staff/StaffGeometry.h"
#include "platform/raster/CanvasScale.h"
#include "platform/raster/PictureBox.h"

#include <algorithm>

namespace notivo::staff {
namespace {

void drawNotes(QImage& canvas, const Score& score, int scroll)
{
    const QImage& sheet = glyphSheet(canvas.devicePixelRatio());
    const int s = std::clamp(scroll, ScrollMin, ScrollMax);
    // Window columns whose glyphs lie wholly beyond the canvas are not drawn.
    const int width = platform::raster::logicalSize(canvas).width();
    int shown = WindowColumns;
    while (shown > 0 && columnAnchorX(shown) - GlyphLeftReach >= width)
        --shown;
    forEachShownCell(score, s + 1, s + shown, [&](int w, int r, std::uint8_t id, std::uint8_t accidental) {
        Draw_Note(canvas, sheet, columnAnchorX(w), rowAnchorY(r), id, accidental);
    });
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
