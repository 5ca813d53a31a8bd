#include "notivo/staff/NoteGlyphs.h"

#include "notivo/staff/GlyphSheet.h"
#include "platform/raster/Raster.h"

namespace notivo::staff {

void Draw_Note(QImage& canvas, const QImage& sheet, int x, int y, int id, std::uint8_t FB)
{
    if (const NoteCell* cell = noteCell(id)) {
        // The accidental is part of the note picture; an unknown code has no picture.
        if (const GlyphBand* band = glyphBand(FB))
            platform::raster::andCopy(canvas, x - cell->shift, y - band->anchorDrop, cell->width, band->height,
                                      sheet, cell->left, band->top);
        return;
    }
    if (const RestCell* rest = restCell(id))
        platform::raster::andCopy(canvas, x - rest->shift, rest->canvasY, rest->width, rest->height,
                                  sheet, rest->left, rest->top);
}

void Draw_Note(QImage& canvas, int x, int y, int id, std::uint8_t FB)
{
    Draw_Note(canvas, glyphSheet(), x, y, id, FB);
}

} // namespace notivo::staff
