#include "notivo/printing/PreviewPage.h"

#include "notivo/score/ScoreModel.h"
#include "notivo/staff/GlyphSheet.h"
#include "notivo/staff/ScoreView.h"
#include "platform/chrome/Rounding.h"
#include "platform/raster/CanvasScale.h"
#include "platform/raster/Raster.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace notivo {
namespace {

// Every scaled quantity lands on the nearest pixel, halves to the even one.
int scaled(double quantity, double zoom) { return int(platform::roundHalfEven(quantity * zoom)); }

QImage asRgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// The note cells of a glyph sheet: its first SheetColumns columns, at the sheet's ratio.
QImage noteCells(const QImage& sheet)
{
    const long long columns = platform::raster::deviceX(sheet, PreviewPage::SheetColumns);
    return sheet.copy(0, 0, int(std::min<long long>(columns, sheet.width())), sheet.height());
}

// The line of the page's one-pixel black pen from (x, y) to (x2, y), as a
// two-point polyline draws it.
void LineDC(QImage& page, int x, int y, int x2) { staff::drawHorizontalLine(page, y, x, x2); }

} // namespace

PreviewPage::PreviewPage(qreal ratio)
    : PreviewPage(staff::glyphSheet(ratio), staff::clefImage(ratio))
{
}

PreviewPage::PreviewPage(const QImage& glyphSheet, const QImage& clef)
    : sheet_(asRgb32(noteCells(glyphSheet)))
    , clef_(asRgb32(clef))
{
}

QImage PreviewPage::blankPage()
{
    QImage page(PageSize, PageSize, QImage::Format_RGB32);
    page.fill(Qt::white);
    return page;
}

void PreviewPage::DisplayPentagramNotes(QImage& page, const Score& score, long OffcetX, double Zoom) const
{
    PentagramZoom(page, StaffTop, Zoom);
    // Offsets beyond the grid show nothing; holding them there keeps the column numbers in range.
    const int first = int(std::clamp<long>(OffcetX, -ScoreColumns, ScoreColumns)) + 1;
    staff::forEachShownCell(score, first, first + Columns - 1, [&](int c, int r, std::uint8_t id, std::uint8_t FB) {
        Draw_NoteZoom(page, staff::columnAnchorX(c), staff::rowAnchorY(r), id, FB, Zoom);
    });
}

void PreviewPage::PentagramZoom(QImage& page, long y, double zoom) const
{
    page.fill(Qt::white);
    const int top = int(y);
    const QPoint clef = staff::clefOrigin(top);
    const QSize clefSize = platform::raster::logicalSize(clef_);
    platform::raster::stretchBlackOnWhite(page, scaled(clef.x(), zoom), scaled(clef.y(), zoom),
                                          scaled(clefSize.width(), zoom), scaled(clefSize.height(), zoom), clef_, 0, 0,
                                          clefSize.width(), clefSize.height());
    const int right = platform::raster::logicalSize(page).width(); // the page's scale width, a whole number of pixels
    for (int i = 0; i < staff::StaffLineCount; ++i)
        LineDC(page, 0, scaled(staff::staffLineY(top, i), zoom), right);
}

void PreviewPage::Draw_NoteZoom(QImage& page, long x, long y, int id, std::uint8_t FB, double zoom) const
{
    // Notes only: the preview shows no rests.
    const auto glyph = staff::notePlacement(int(x), int(y), id, FB);
    if (!glyph)
        return;
    const QRect& source = glyph->source;
    platform::raster::stretchBlackOnWhite(page, scaled(glyph->at.x(), zoom), scaled(glyph->at.y(), zoom),
                                          scaled(source.width(), zoom), scaled(source.height(), zoom), sheet_,
                                          source.x(), source.y(), source.width(), source.height());
}

double zoomFromText(const QString& text)
{
    // The leading number: blanks, a sign, digits with an optional fraction,
    // an optional exponent; whatever follows ("%") is ignored.
    const QString t = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto digitAt = [&](qsizetype k) { return k < n && t[k].isDigit() && t[k].unicode() < 128; };
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    const qsizetype mantissaStart = i;
    while (digitAt(i))
        ++i;
    if (i < n && t[i] == u'.') {
        ++i;
        while (digitAt(i))
            ++i;
    }
    const QString mantissa = t.mid(mantissaStart, i - mantissaStart);
    if (mantissa.isEmpty() || mantissa == u".")
        return 0.0;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        qsizetype k = i + 1;
        if (k < n && (t[k] == u'+' || t[k] == u'-'))
            ++k;
        if (digitAt(k)) {
            while (digitAt(k))
                ++k;
            i = k;
        }
    }
    // from_chars reads the C form whatever the user's locale is.
    const QByteArray number = t.left(i).toLatin1();
    const char* first = number.constData();
    if (*first == '+')
        ++first;
    double percent = 0.0;
    const auto [end, error] = std::from_chars(first, number.constData() + number.size(), percent);
    if (error == std::errc::result_out_of_range)
        return number.contains("e-") || number.contains("E-") || number.startsWith('-') ? 0.0 : MaxZoom;
    if (error != std::errc() || !(percent > 0))
        return 0.0;
    return std::min(percent / 100.0, MaxZoom);
}

} // namespace notivo
