#pragma once
#include "notivo/staff/StaffGeometry.h"

#include <QImage>
#include <QString>
#include <cstdint>

namespace notivo {

class Score;

// The page picture of the print preview: the staff with its clef and the
// notes of score columns 1..50, every picture stretched by the zoom factor
// with a stretch that keeps black ink.  Drawn into a plain image, so the
// preview window only shows it.
class PreviewPage {
public:
    static constexpr int PageSize = 522;       // the page is 522 x 522 pixels
    static constexpr int SheetColumns = 89;    // note cells only: sheet columns 0..88
    static constexpr int StaffTop = staff::StaffTop; // unscaled y of the top staff line
    static constexpr int Columns = 50;         // window columns drawn

    // Uses the compiled-in glyph sheet (its note cells) and clef, drawn for
    // pages at the device pixel ratio `ratio`.
    explicit PreviewPage(qreal ratio = 1.0);
    PreviewPage(const QImage& glyphSheet, const QImage& clef);

    // A white page of the preview's size, ready for drawing.
    static QImage blankPage();

    // Redraws `page`: the staff with its top line at 70, then every note of
    // positions 1..30 of score columns OffcetX + 1 .. OffcetX + 50.
    void DisplayPentagramNotes(QImage& page, const Score& score, long OffcetX, double Zoom) const;
    // Clears the page and draws the scaled clef and the five staff lines
    // (one pixel thick, across the whole width) with the top line at y.
    void PentagramZoom(QImage& page, long y, double zoom) const;
    // Adds one note (ids 1..5, accidental 0..2) at the scaled place of the
    // unscaled anchors x, y; rests and anything else draw nothing.
    void Draw_NoteZoom(QImage& page, long x, long y, int id, std::uint8_t FB, double zoom) const;

private:
    QImage sheet_;
    QImage clef_;
};

// The zoom factor of the zoom box's text: its leading number divided by 100
// ("50%" gives 0.5, "75" 0.75).  Text without a leading number gives 0.
// A negative number gives 0 as well, and very large ones are held to
// MaxZoom, so that no placement leaves the range of a pixel coordinate.
double zoomFromText(const QString& text);
inline constexpr double MaxZoom = 1000.0;

} // namespace notivo
