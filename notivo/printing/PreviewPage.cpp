#include "notivo/printing/PreviewPage.h"

#include "notivo/editor/ScoreModel.h"
#include "notivo/staff/GlyphSheet.h"
#include "platform/chrome/Rounding.h"
#include "platform/raster/Raster.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace notivo {
namespace {

// Every scaled quantity lands on the nearest pixel, halves to the even one.
int scaled(double quantity, double zoom) { return int(platform::roundHalfEven(quantity * zoom)); }

QImage asRgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// The one-pixel line of the page's pen from (x, y) to (x2, y): the end point
// is not drawn, as with a polyline of two points.
void LineDC(QImage& page, int x, int y, int x2)
{
    if (y < 0 || y >= page.height())
        return;
    const int from = std::max(0, std::min(x, x2));
    const int to = std::min(page.width(), std::max(x, x2));
    auto* row = reinterpret_cast<QRgb*>(page.scanLine(y));
    std::fill(row + from, row + std::max(from, to), qRgb(0, 0, 0));
}

} // namespace

PreviewPage::PreviewPage()
    : PreviewPage(staff::glyphSheet(), staff::clefImage())
{
}

PreviewPage::PreviewPage(const QImage& glyphSheet, const QImage& clef)
    : sheet_(asRgb32(glyphSheet.copy(0, 0, std::min(SheetColumns, glyphSheet.width()), glyphSheet.height())))
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
    for (int c = 1; c <= Columns; ++c) {
        const long column = OffcetX + c;
        for (int r = 1; r <= 30; ++r) {
            const int id = score.ScoreNotes.get(r, int(column));
            if (id != 0)
                Draw_NoteZoom(page, 16 * c + 30, 5 * r + 13, id, score.ScoreAccidentals.get(r, int(column)), Zoom);
        }
    }
}

void PreviewPage::PentagramZoom(QImage& page, long y, double zoom) const
{
    page.fill(Qt::white);
    platform::raster::stretchBlackOnWhite(page, scaled(5, zoom), scaled(double(y) - 20, zoom), scaled(clef_.width(), zoom),
                                          scaled(clef_.height(), zoom), clef_, 0, 0, clef_.width(), clef_.height());
    const int right = page.width();
    for (int i = 0; i < 5; ++i) {
        const int lineY = scaled(double(y) + 10 * i, zoom);
        LineDC(page, 0, lineY, right);
    }
}

void PreviewPage::Draw_NoteZoom(QImage& page, long x, long y, int id, std::uint8_t FB, double zoom) const
{
    const staff::NoteCell* cell = staff::noteCell(id);
    const staff::GlyphBand* band = staff::glyphBand(FB);
    if (!cell || !band)
        return;
    platform::raster::stretchBlackOnWhite(page, scaled(double(x) - cell->shift, zoom), scaled(double(y) - band->anchorDrop, zoom),
                                          scaled(cell->width, zoom), scaled(band->height, zoom), sheet_, cell->left,
                                          band->top, cell->width, band->height);
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
