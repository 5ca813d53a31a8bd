#include "notivo/printing/PreviewPage.h"
#include "notivo/score/ScoreModel.h"
#include "platform/chrome/Rounding.h"
#include "platform/raster/CanvasScale.h"

#include <gtest/gtest.h>
#include <set>

// The preview page on a high-density screen: drawn in the screen's pixels.
using notivo::PreviewPage;
using notivo::Score;

namespace {

const QRgb Black = qRgb(0, 0, 0);

QImage pageAt(qreal ratio)
{
    QImage page(platform::raster::deviceSize({PreviewPage::PageSize, PreviewPage::PageSize}, ratio),
                QImage::Format_RGB32);
    page.setDevicePixelRatio(ratio);
    page.fill(Qt::white);
    return page;
}

// A glyph sheet at `ratio` whose only ink is the quarter's plain cell, solid.
QImage solidQuarterSheet(int ratio)
{
    QImage sheet(102 * ratio, 80 * ratio, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (int y = 0; y < 25 * ratio; ++y)
        for (int x = 23 * ratio; x < 37 * ratio; ++x)
            sheet.setPixel(x, y, Black);
    sheet.setDevicePixelRatio(ratio);
    return sheet;
}

// True when `page` is black all over `rect` (image pixels) and equals `base` everywhere else.
::testing::AssertionResult solidOnlyIn(const QImage& page, const QImage& base, QRect rect)
{
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const bool inside = rect.contains(x, y);
            if (inside ? page.pixel(x, y) != Black : page.pixel(x, y) != base.pixel(x, y))
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << (inside ? " not ink" : " changed");
        }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(PreviewPageAtRatio, LinesAreEvenAtEveryZoom)
{
    for (qreal ratio : {1.5, 2.0, 1.25}) {
        const PreviewPage preview(ratio);
        for (double zoom : {0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0}) {
            SCOPED_TRACE(std::to_string(ratio) + " at zoom " + std::to_string(zoom));
            QImage page = pageAt(ratio);
            preview.PentagramZoom(page, PreviewPage::StaffTop, zoom);
            const int thick = platform::raster::lineWidth(page);
            std::set<int> expected;
            for (int i = 0; i < 5; ++i) {
                const long y = platform::roundHalfEven((70 + 10 * i) * zoom);
                for (int k = 0; k < thick; ++k)
                    expected.insert(int(platform::raster::deviceY(page, y)) + k);
            }
            // The last image column crosses the five lines only, each as thick as the others.
            std::set<int> rows;
            for (int y = 0; y < page.height(); ++y)
                if (page.pixel(page.width() - 1, y) == Black)
                    rows.insert(y);
            EXPECT_EQ(rows, expected);
        }
    }
}

TEST(PreviewPageAtRatio, ANoteLandsOnItsScaledPlaceWhateverTheSheetsRatio)
{
    // The worked placement at 50 %: a quarter on (20, 35), 7 x 12, which is
    // (40, 70), 14 x 24 on a page at ratio 2, from a 1x or a 2x sheet alike.
    Score score;
    score.ScoreNotes.set(15, 1, notivo::NoteId::Quarter);
    QImage blankClef(32, 85, QImage::Format_RGB32);
    blankClef.fill(Qt::white);
    for (int sheetRatio : {1, 2}) {
        SCOPED_TRACE(sheetRatio);
        const PreviewPage preview(solidQuarterSheet(sheetRatio), blankClef);
        QImage staff = pageAt(2.0);
        preview.PentagramZoom(staff, PreviewPage::StaffTop, 0.5);
        QImage page = pageAt(2.0);
        preview.DisplayPentagramNotes(page, score, 0, 0.5);
        EXPECT_TRUE(solidOnlyIn(page, staff, QRect(40, 70, 14, 24)));
    }
}
