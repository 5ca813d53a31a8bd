#include "notivo/staff/NoteGlyphs.h"

#include "notivo/staff/GlyphSheet.h"
#include "platform/raster/Raster.h"

namespace notivo::staff {

void Draw_Note(QImage& canvas, const QImage& sheet, int x, int y, int id, std::uint8_t FB)
{
    if (const auto glyph = glyphPlacement(x, y, id, FB))
        platform::raster::andCopy(canvas, glyph->at.x(), glyph->at.y(), glyph->source.width(),
                                  glyph->source.height(), sheet, glyph->source.x(), glyph->source.y());
}

void Draw_Note(QImage& canvas, int x, int y, int id, std::uint8_t FB)
{
    Draw_Note(canvas, glyphSheet(canvas.devicePixelRatio()), x, y, id, FB);
}

} // namespace notivo::staff
