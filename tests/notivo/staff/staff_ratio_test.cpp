#include "notivo/score/ScoreModel.h"
#include "notivo/staff/GlyphSheet.h"
#include "notivo/staff/ScoreView.h"
#include "notivo/staff/StaffGeometry.h"
#include "platform/raster/CanvasScale.h"
#include "PixelSupport.h"

#include <gtest/gtest.h>
#include <set>

// The staff view on a canvas of a high-density screen: the same drawing in
// the screen's pixels, with the pictures drawn for its ratio.
using namespace notivo;
using namespace notivo::staff;
using namespace staff_test;

namespace {

QImage canvasAt(qreal ratio)
{
    QImage canvas(platform::raster::deviceSize({CanvasWidth, CanvasHeight}, ratio), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(White);
    return canvas;
}

// The same pixels as a plain image, for the helpers that work in image pixels.
QImage pixelsOf(const QImage& image)
{
    QImage plain = image.copy();
    plain.setDevicePixelRatio(1.0);
    return plain;
}

} // namespace

TEST(StaffAtRatio, TwiceTheRatioShowsThe2xPicturesWhereThe1xOnesWouldBe)
{
    Score score;
    score.ScoreNotes.set(15, 1, NoteId::Quarter);
    score.ScoreNotes.set(21, 3, NoteId::Semiquaver);
    score.ScoreAccidentals.set(21, 3, 2);
    QImage canvas = canvasAt(2.0);
    DisplayPentagramNotes(canvas, score, 0);

    // Built independently in image pixels: lines two rows thick, the 2x clef
    // at (10, 100), and the cells of the worked placements, (41, 70) and
    // (71, 100) at 1x, from the 2x sheet.
    QImage expected = whiteCanvas(1046, 354);
    for (int y : {140, 160, 180, 200, 220})
        for (int row : {y, y + 1})
            for (int x = 0; x < 1046; ++x)
                expected.setPixel(x, row, Black);
    expected = expectedAndCopy(expected, pixelsOf(clefImage(2.0)), {0, 0, 64, 170}, {10, 100});
    const QImage sheet = pixelsOf(glyphSheet(2.0));
    expected = expectedAndCopy(expected, sheet, {46, 0, 28, 50}, {82, 140});
    expected = expectedAndCopy(expected, sheet, {132, 110, 40, 54}, {142, 200});
    EXPECT_EQ(differingPixels(pixelsOf(canvas), expected), 0);
    // Those are the pictures drawn at 2x, not the 1x ones enlarged.
    EXPECT_EQ(sheet, QImage(":/images/glyphs@2x.png").convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(pixelsOf(clefImage(2.0)), QImage(":/images/clef@2x.png").convertToFormat(QImage::Format_RGB32));
}

TEST(StaffAtRatio, AtFractionalRatiosLinesAreEvenAndTheClefIsSmooth)
{
    for (qreal ratio : {1.25, 1.5, 1.75}) {
        SCOPED_TRACE(ratio);
        Score score;
        score.ScoreNotes.set(19, 2, NoteId::Whole);
        QImage canvas = canvasAt(ratio);
        DisplayPentagramNotes(canvas, score, 0);
        const int thick = platform::raster::lineWidth(canvas);

        // Right of the clef and the notes, a column crosses exactly the five
        // lines, each `thick` rows from the row its logical line begins on.
        std::set<int> rows;
        for (int y = 0; y < canvas.height(); ++y)
            if (canvas.pixel(canvas.width() - 1, y) == Black)
                rows.insert(y);
        std::set<int> expected;
        for (int y : {70, 80, 90, 100, 110})
            for (int i = 0; i < thick; ++i)
                expected.insert(int(platform::raster::deviceY(canvas, y)) + i);
        EXPECT_EQ(rows, expected);

        // The clef is the 2x picture scaled down smoothly: its edges hold greys.
        std::set<QRgb> shades;
        const QRect clef(int(platform::raster::deviceX(canvas, 5)), int(platform::raster::deviceY(canvas, 50)),
                         int(32 * ratio), int(85 * ratio));
        for (int y = clef.top(); y <= clef.bottom(); ++y)
            for (int x = clef.left(); x <= clef.right(); ++x)
                shades.insert(canvas.pixel(x, y));
        EXPECT_GT(shades.size(), 20u);

        // The whole note (anchors 62, 108: its cell at 55, 90) keeps to its cell.
        using platform::raster::deviceX, platform::raster::deviceY;
        const QRect cell(55, 90, 14, 25);
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = int(deviceX(canvas, 40)); x < int(deviceX(canvas, 90)); ++x) {
                const bool inCell = x >= deviceX(canvas, cell.left()) && x < deviceX(canvas, cell.right() + 1) &&
                                    y >= deviceY(canvas, cell.top()) && y < deviceY(canvas, cell.bottom() + 1);
                if (!inCell && !expected.count(y))
                    ASSERT_EQ(canvas.pixel(x, y), White) << x << "," << y;
            }
    }
}
