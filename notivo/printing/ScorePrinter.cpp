#include "notivo/printing/ScorePrinter.h"

#include "notivo/score/ScoreModel.h"
#include "notivo/printing/ScorePrintLayout.h"
#include "notivo/staff/GlyphSheet.h"
#include "notivo/staff/ScoreView.h"
#include "notivo/staff/StaffGeometry.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <array>

namespace notivo {
namespace {

// A picture as ink only: black stays, white becomes transparent, so glyphs
// and staff lines merge on paper as the AND copies merge them on screen.
QImage inkOf(const QImage& picture)
{
    QImage ink(picture.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < picture.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(ink.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            out[x] = qRgba(0, 0, 0, 255 - qGray(picture.pixel(x, y)));
    }
    return ink;
}

// Every glyph cut out once, so that each is stored once in the job however
// often it is drawn.
class PrintGlyphs {
public:
    PrintGlyphs()
        : clef_(inkOf(staff::clefImage()))
    {
        const QImage sheet = inkOf(staff::glyphSheet());
        // Cells reaching beyond the sheet (the flat band's last rows) get
        // transparent pixels there.
        for (int id = 1; id <= 5; ++id)
            for (int fb = 0; fb <= 2; ++fb)
                notes_[id - 1][fb] = sheet.copy(staff::notePlacement(0, 0, id, fb)->source);
        for (int id : {10, 11})
            rests_[id - 10] = sheet.copy(staff::restPlacement(0, id)->source);
    }

    const QImage& clef() const { return clef_; }
    // The picture of a cell that has one (see staff::glyphPlacement).
    const QImage& glyph(int id, int fb) const { return staff::noteCell(id) ? notes_[id - 1][fb] : rests_[id - 10]; }

private:
    QImage clef_;
    std::array<std::array<QImage, 3>, 5> notes_;
    std::array<QImage, 2> rests_;
};

// One staff in canvas pixels: the editor's drawing of its staff, glyph by
// glyph, with the columns of this staff as its window columns.
void drawStaff(QPainter& painter, const ScorePrintLayout& layout, int staffIndex, const Score& score,
               const PrintGlyphs& glyphs)
{
    painter.drawImage(staff::clefOrigin(staff::StaffTop), glyphs.clef());
    for (int i = 0; i < staff::StaffLineCount; ++i)
        painter.fillRect(QRectF(0, staff::staffLineY(staff::StaffTop, i), layout.pageWidth(), 1), Qt::black);

    staff::forEachShownCell(score, layout.firstColumnOfStaff(staffIndex), layout.lastColumnOfStaff(staffIndex),
                            [&](int w, int r, std::uint8_t id, std::uint8_t fb) {
                                if (const auto glyph = staff::glyphPlacement(staff::columnAnchorX(w), staff::rowAnchorY(r), id, fb))
                                    painter.drawImage(glyph->at, glyphs.glyph(id, fb));
                            });
}

} // namespace

bool printScore(QPrinter& printer, const Score& score)
{
    printer.setFullPage(false);
    printer.setPageMargins(ScorePrintMargins, QPageLayout::Millimeter);
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    const ScorePrintLayout layout(printable.size(), score.ColumnCount);
    const PrintGlyphs glyphs;

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Canvas pixels have a fixed size on paper whatever the resolution.
    const double devicePerStaffPixel = printer.resolution() * ScorePrintLayout::MillimetresPerStaffPixel / 25.4;
    for (int staffIndex = 0; staffIndex < layout.staffCount(); ++staffIndex) {
        const bool pageBreak = staffIndex > 0 && layout.pageOfStaff(staffIndex) != layout.pageOfStaff(staffIndex - 1);
        if (pageBreak && !printer.newPage()) {
            painter.end();
            return false;
        }
        painter.save();
        painter.scale(devicePerStaffPixel, devicePerStaffPixel);
        painter.translate(layout.staffOrigin(staffIndex));
        painter.setClipRect(QRect(0, ScorePrintLayout::StaffTop, layout.pageWidth(), ScorePrintLayout::StaffHeight));
        drawStaff(painter, layout, staffIndex, score, glyphs);
        painter.restore();
    }
    return painter.end();
}

} // namespace notivo
