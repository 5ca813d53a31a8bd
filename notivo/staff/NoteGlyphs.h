#pragma once
#include <QImage>
#include <cstdint>

namespace notivo::staff {

// Adds one note or rest to the canvas with a raster AND copy from the glyph
// sheet.  x, y are the column and row anchors (16 w + 30, 5 r + 13); FB is the
// cell's accidental.  Notes (ids 1..5) take the picture of their accidental's
// band, and nothing is drawn for an accidental code of 3 or more; rests (10,
// 11) sit at a fixed height whatever y and FB are; other ids draw nothing.
void Draw_Note(QImage& canvas, const QImage& sheet, int x, int y, int id, std::uint8_t FB = 0);
// The same with the compiled-in glyph sheet drawn for the canvas's ratio.
void Draw_Note(QImage& canvas, int x, int y, int id, std::uint8_t FB = 0);

} // namespace notivo::staff
