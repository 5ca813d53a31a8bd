#include "notivo/score/ScoreModel.h"
#include "notivo/printing/PreviewPage.h"
#include "notivo/staff/GlyphSheet.h"
#include "platform/chrome/Rounding.h"
#include "platform/raster/CanvasScale.h"

#include <QRect>
#include <gtest/gtest.h>
#include <set>

using notivo::PreviewPage;
using notivo::Score;

namespace {

const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);

QImage whiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// A glyph sheet whose only ink is one solid block, so that the stretched
// block shows exactly where and how large a cell lands.
QImage sheetWithSolid(QRect cell)
{
    QImage sheet = whiteImage(notivo::staff::GlyphSheetWidth, notivo::staff::GlyphSheetHeight);
    for (int y = cell.top(); y <= cell.bottom() && y < sheet.height(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            sheet.setPixel(x, y, Black);
    return sheet;
}

QImage blankClef() { return whiteImage(notivo::staff::ClefWidth, notivo::staff::ClefHeight); }

// The bounding box of the black pixels that `page` has and `base` lacks.
QRect addedInk(const QImage& page, const QImage& base)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) != base.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

// True when `page` is black all over `rect` and equals `base` everywhere else.
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

// A page of the preview's size on a screen of `ratio`.
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
    QImage sheet = sheetWithSolid({23, 0, 14, 25}).scaled(102 * ratio, 80 * ratio);
    sheet.setDevicePixelRatio(ratio);
    return sheet;
}

QImage staffOnly(const PreviewPage& preview, double zoom)
{
    QImage page = PreviewPage::blankPage();
    preview.PentagramZoom(page, PreviewPage::StaffTop, zoom);
    return page;
}

} // namespace

// Each case puts one note into an otherwise empty score and checks the
// rectangle its (solid) cell is stretched to, halves going to the even pixel.
TEST(PreviewPage, NotePlacementIsExactAtEveryZoom)
{
    struct Case {
        const char* what;
        double zoom;
        int id, accidental, column, position;
        QRect cell;     // solid block on the sheet
        QRect expected; // its place on the page
    };
    const Case cases[] = {
        // The worked placement: anchors (46, 88); 12.5 -> 12 and 20.5 -> 20.
        {"quarter 50%", 0.5, 3, 0, 1, 15, {23, 0, 14, 25}, {20, 35, 7, 12}},
        {"quarter 100%", 1.0, 3, 0, 1, 15, {23, 0, 14, 25}, {41, 70, 14, 25}},
        {"quarter 200%", 2.0, 3, 0, 1, 15, {23, 0, 14, 25}, {82, 140, 28, 50}},
        // 30.75 -> 31, 52.5 -> 52, 10.5 -> 10, 18.75 -> 19.
        {"quarter 75%", 0.75, 3, 0, 1, 15, {23, 0, 14, 25}, {31, 52, 10, 19}},
        // Sharp band: anchors (62, 63), drop 20.
        {"sharp quarter 200%", 2.0, 3, 1, 2, 10, {23, 26, 14, 27}, {114, 86, 28, 54}},
        // Flat band: its last two rows lie beyond the sheet and stay white.
        {"flat semiquaver 100%", 1.0, 1, 2, 1, 22, {66, 55, 20, 27}, {39, 105, 20, 25}},
        // 106.5 -> 106, 142.5 -> 142, 37.5 -> 38.
        {"whole 150%", 1.5, 5, 0, 3, 20, {52, 0, 14, 25}, {106, 142, 21, 38}},
        // 428.75 -> 429, 17.5 -> 18, 31.25 -> 31.
        {"half 125%", 1.25, 4, 0, 20, 1, {36, 0, 14, 25}, {429, 0, 18, 31}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PreviewPage preview(sheetWithSolid(c.cell), blankClef());
        Score score;
        score.ScoreNotes.set(c.position, c.column, std::uint8_t(c.id));
        score.ScoreAccidentals.set(c.position, c.column, std::uint8_t(c.accidental));
        QImage page = PreviewPage::blankPage();
        preview.DisplayPentagramNotes(page, score, 0, c.zoom);
        EXPECT_TRUE(solidOnlyIn(page, staffOnly(preview, c.zoom), c.expected));
    }
}

TEST(PreviewPage, WorkedPlacementWithTheRealPictures)
{
    const PreviewPage preview;
    Score score;
    score.ScoreNotes.set(15, 1, notivo::NoteId::Quarter);
    QImage page = PreviewPage::blankPage();
    preview.DisplayPentagramNotes(page, score, 0, 0.5);
    const QImage base = staffOnly(preview, 0.5);
    const QRect ink = addedInk(page, base);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(20, 35, 7, 12).contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                                                    << ink.height();
    // The filled head fills the bottom of the stretched picture, off the lines too.
    int headInk = 0;
    for (int x = 20; x < 27; ++x)
        headInk += page.pixel(x, 44) == Black;
    EXPECT_GE(headInk, 4);
}

TEST(PreviewPage, StaffLinesSpanThePageAtTheScaledHeights)
{
    struct Case {
        double zoom;
        int lines[5];
        QRect clef;
    };
    const Case cases[] = {
        {0.5, {35, 40, 45, 50, 55}, {2, 25, 16, 42}},           // 2.5 -> 2, 42.5 -> 42
        {0.75, {52, 60, 68, 75, 82}, {4, 38, 24, 64}},          // 52.5 -> 52, 67.5 -> 68, 82.5 -> 82
        {1.0, {70, 80, 90, 100, 110}, {5, 50, 32, 85}},
        {2.0, {140, 160, 180, 200, 220}, {10, 100, 64, 170}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        const PreviewPage preview(whiteImage(102, 80), whiteImage(32, 85));
        QImage page = PreviewPage::blankPage();
        preview.PentagramZoom(page, PreviewPage::StaffTop, c.zoom);
        for (int y = 0; y < page.height(); ++y) {
            const bool isLine = std::find(std::begin(c.lines), std::end(c.lines), y) != std::end(c.lines);
            int black = 0;
            for (int x = 0; x < page.width(); ++x)
                black += page.pixel(x, y) == Black;
            ASSERT_EQ(black, isLine ? page.width() : 0) << "row " << y;
        }
        // The clef: a solid clef picture lands on exactly its scaled rectangle.
        QImage solid(32, 85, QImage::Format_RGB32);
        solid.fill(Qt::black);
        const PreviewPage solidClef(whiteImage(102, 80), solid);
        QImage withClef = PreviewPage::blankPage();
        solidClef.PentagramZoom(withClef, PreviewPage::StaffTop, c.zoom);
        EXPECT_EQ(addedInk(withClef, page), c.clef);
    }
}

TEST(PreviewPage, RestsBadCellsAndColumnsBeyondFiftyAreNeverDrawn)
{
    const PreviewPage preview;
    for (double zoom : {0.5, 1.0, 2.0}) {
        SCOPED_TRACE(zoom);
        Score score;
        score.placeRest(1, notivo::NoteId::QuarterPause);
        score.placeRest(2, notivo::NoteId::QuaverPause);
        score.ScoreNotes.set(8, 3, 7);                          // no such glyph
        score.ScoreNotes.set(9, 4, 12);
        score.ScoreNotes.set(12, 5, notivo::NoteId::Quarter);   // accidental 3: nothing
        score.ScoreAccidentals.set(12, 5, 3);
        score.ScoreNotes.set(31, 6, notivo::NoteId::Quarter);   // below the shown positions
        score.ScoreNotes.set(15, 51, notivo::NoteId::Quarter);  // beyond the 50 columns
        score.ScoreNotes.set(15, 500, notivo::NoteId::Whole);
        QImage page = PreviewPage::blankPage();
        preview.DisplayPentagramNotes(page, score, 0, zoom);
        EXPECT_EQ(page, staffOnly(preview, zoom));
    }
}

TEST(PreviewPage, FiftiethColumnIsTheLastAtHalfZoom)
{
    const PreviewPage preview(sheetWithSolid({23, 0, 14, 25}), blankClef());
    Score score;
    score.ScoreNotes.set(1, 50, notivo::NoteId::Quarter);
    QImage page = PreviewPage::blankPage();
    preview.DisplayPentagramNotes(page, score, 0, 0.5);
    // x: (830 - 5) / 2 = 412.5 -> 412; y: (18 - 18) / 2 = 0.
    EXPECT_TRUE(solidOnlyIn(page, staffOnly(preview, 0.5), QRect(412, 0, 7, 12)));
}

TEST(PreviewPage, ZeroZoomClearsThePageAndCollapsesTheLines)
{
    const PreviewPage preview;
    Score score;
    for (int c = 1; c <= 50; ++c)
        score.ScoreNotes.set(1 + c % 30, c, notivo::NoteId::Semiquaver);
    QImage page = PreviewPage::blankPage();
    preview.DisplayPentagramNotes(page, score, 0, 0.5);
    preview.DisplayPentagramNotes(page, score, 0, notivo::zoomFromText(QStringLiteral("abc")));
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            ASSERT_EQ(page.pixel(x, y), y == 0 ? Black : White) << x << "," << y;
}

TEST(PreviewPage, ZoomTextIsReadByItsLeadingNumber)
{
    const struct {
        const char* text;
        double zoom;
    } cases[] = {
        {"50%", 0.5},   {"75", 0.75},    {"200", 2.0},      {"100%", 1.0},   {" 125 %", 1.25}, {"12.5", 0.125},
        {"50abc", 0.5}, {".5", 0.005},   {"1e2", 1.0},      {"+150", 1.5},   {"1e", 0.01},     {"0", 0.0},
        {"", 0.0},      {"abc", 0.0},    {"%50", 0.0},      {".", 0.0},      {"-50", 0.0},     {"1e999", notivo::MaxZoom},
        {"1e-999", 0.0}, {"-1e999", 0.0}, {"99999999", notivo::MaxZoom},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(notivo::zoomFromText(QString::fromLatin1(c.text)), c.zoom) << '"' << c.text << '"';
}

TEST(PreviewPage, HugeZoomDrawsClippedWithoutFault)
{
    const PreviewPage preview;
    Score score;
    score.ScoreNotes.set(30, 50, notivo::NoteId::Whole);
    QImage page = PreviewPage::blankPage();
    preview.DisplayPentagramNotes(page, score, 0, notivo::MaxZoom);
    // Lines, clef and note all land far beyond the page: nothing is left on it.
    EXPECT_EQ(page, PreviewPage::blankPage());
}

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
    for (int sheetRatio : {1, 2}) {
        SCOPED_TRACE(sheetRatio);
        const PreviewPage preview(solidQuarterSheet(sheetRatio), blankClef());
        QImage staff = pageAt(2.0);
        preview.PentagramZoom(staff, PreviewPage::StaffTop, 0.5);
        QImage page = pageAt(2.0);
        preview.DisplayPentagramNotes(page, score, 0, 0.5);
        EXPECT_TRUE(solidOnlyIn(page, staff, QRect(40, 70, 14, 24)));
    }
}
