#pragma once
#include <QMarginsF>

class QPrinter;

namespace notivo {

class Score;

// Margins of a printed score, in millimetres (a printer that cannot print
// that close to the edge keeps its own larger ones).
inline const QMarginsF ScorePrintMargins(15, 15, 15, 15);

// Sends one job to `printer` that carries the whole score: every column
// 1..ColumnCount on as many staves and pages as the layout needs, at the
// printer's orientation, each staff drawn as the editor draws it (lines,
// clef, notes with their accidentals, rests) from the same glyph pictures.
// An empty score prints one page with an empty staff.  Returns false when
// the printer could not be opened or a page could not be started.
bool printScore(QPrinter& printer, const Score& score);

} // namespace notivo
