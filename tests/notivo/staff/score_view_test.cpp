#include "notivo/score/ScoreModel.h"
#include "notivo/staff/GlyphSheet.h"
#include "notivo/staff/NoteGlyphs.h"
#include "notivo/staff/ScoreView.h"
#include "notivo/staff/StaffGeometry.h"
#include "platform/raster/PictureBox.h"
#include "PixelSupport.h"

#include <gtest/gtest.h>

using namespace notivo;
using namespace notivo::staff;
using namespace staff_test;

namespace {

// The staff alone, drawn independently of Pentagram: five lines and the clef.
QImage expectedStaff(int width = 523, int height = 177)
{
    QImage image = whiteCanvas(width, height);
    for (int y : {70, 80, 90, 100, 110})
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, Black);
    return expectedAndCopy(image, clefImage(), {0, 0, 32, 85}, {5, 50});
}

} // namespace

TEST(Pentagram, DrawsTheClefAndFiveLinesAcrossTheWidth)
{
    QImage canvas = whiteCanvas();
    Draw_Note(canvas, 200, 50, 3, 0); // erased by the staff
    Pentagram(canvas, 70);
    EXPECT_EQ(differingPixels(canvas, expectedStaff()), 0);
    for (int x = 0; x < 523; ++x)
        for (int y : {70, 80, 90, 100, 110})
            ASSERT_TRUE(isInk(canvas, x, y)) << x << "," << y;
    // Outside the clef only the lines hold ink.
    for (int y = 0; y < 177; ++y)
        for (int x = 37; x < 523; ++x)
            ASSERT_EQ(isInk(canvas, x, y), y >= 70 && y <= 110 && y % 10 == 0) << x << "," << y;
    // The clef's ink lies inside its 32 x 85 box at (5, 50) and winds around the G line.
    int clefInk = 0;
    for (int y = 0; y < 177; ++y)
        for (int x = 0; x < 37; ++x) {
            const bool line = y >= 70 && y <= 110 && y % 10 == 0;
            if (!line && isInk(canvas, x, y)) {
                EXPECT_TRUE(x >= 5 && y >= 50 && y < 135) << x << "," << y;
                ++clefInk;
            }
        }
    EXPECT_GT(clefInk, 150);
    int aroundG = 0;
    for (int y = 90; y <= 110; ++y)
        for (int x = 5; x < 37; ++x)
            aroundG += y != 100 && isInk(canvas, x, y);
    EXPECT_GT(aroundG, 30);

    // Another top line moves everything.
    Pentagram(canvas, 30);
    EXPECT_TRUE(isInk(canvas, 300, 30));
    EXPECT_FALSE(isInk(canvas, 300, 110));
}

TEST(ScoreView, EmptyScoreShowsTheStaffAlone)
{
    Score s;
    QImage canvas = whiteCanvas();
    DisplayPentagramNotes(canvas, s, 0);
    EXPECT_EQ(differingPixels(canvas, expectedStaff()), 0);
}

TEST(ScoreView, CellsAreDrawnAtTheirAnchors)
{
    Score s;
    s.placeNote(15, 1, NoteId::Quarter, Accidental::None);
    s.placeNote(21, 3, NoteId::Semiquaver, Accidental::Flat);
    s.placeRest(2, NoteId::QuaverPause);
    s.ScoreNotes.set(31, 4, NoteId::Whole); // below the shown positions
    s.ScoreNotes.set(40, 4, NoteId::Whole);
    s.ScoreNotes.set(16, 5, 7);             // not a glyph
    s.ScoreNotes.set(18, 5, NoteId::Half);
    s.ScoreAccidentals.set(18, 5, 3);       // not an accidental: no note
    QImage canvas = whiteCanvas();
    DisplayPentagramNotes(canvas, s, 0);

    QImage expected = expectedStaff();
    const QImage& sheet = glyphSheet();
    expected = expectedAndCopy(expected, sheet, {23, 0, 14, 25}, {41, 70});
    expected = expectedAndCopy(expected, sheet, {91, 28, 11, 17}, {16 * 2 + 30 - 5, 82});
    expected = expectedAndCopy(expected, sheet, {66, 55, 20, 27}, {16 * 3 + 30 - 7, 100});
    EXPECT_EQ(differingPixels(canvas, expected), 0);
}

TEST(ScoreView, ScrollingShowsColumnsFromTheOffset)
{
    Score s;
    s.placeNote(13, 450, NoteId::Half, Accidental::Sharp); // just left of the view at 450
    s.placeNote(13, 451, NoteId::Quarter, Accidental::Sharp);
    s.placeNote(19, 480, NoteId::Quaver, Accidental::None);
    s.placeNote(19, 481, NoteId::Quaver, Accidental::Flat);
    s.placeRest(500, NoteId::QuarterPause);
    const QImage& sheet = glyphSheet();

    // On a canvas wide enough for all 50 window columns, 451..500 show at 450.
    QImage wide = whiteCanvas(900, 177);
    DisplayPentagramNotes(wide, s, 450);
    QImage expected = expectedStaff(900, 177);
    expected = expectedAndCopy(expected, sheet, {23, 26, 14, 27}, {46 - 5, 5 * 13 + 13 - 20});
    expected = expectedAndCopy(expected, sheet, {0, 0, 20, 25}, {510 - 5, 5 * 19 + 13 - 18});
    expected = expectedAndCopy(expected, sheet, {0, 55, 20, 27}, {526 - 5, 5 * 19 + 13 - 18});
    expected = expectedAndCopy(expected, sheet, {91, 0, 9, 25}, {830 - 2, 79});
    EXPECT_EQ(differingPixels(wide, expected), 0);

    // The editor's canvas shows the columns that reach into it, column 31 included.
    QImage canvas = whiteCanvas();
    DisplayPentagramNotes(canvas, s, 450);
    EXPECT_EQ(differingPixels(canvas, expected.copy(0, 0, 523, 177)), 0);
    Score without481 = s;
    without481.eraseCell(19, 481);
    QImage cut = whiteCanvas();
    DisplayPentagramNotes(cut, without481, 450);
    EXPECT_GT(differingPixels(canvas, cut), 0) << "column 481 reaches into the canvas";

    // Scroll values beyond the bar's range are held to it.
    QImage held = whiteCanvas(900, 177);
    DisplayPentagramNotes(held, s, 9999);
    EXPECT_EQ(differingPixels(held, wide), 0);
    DisplayPentagramNotes(held, s, -5);
    QImage atZero = whiteCanvas(900, 177);
    DisplayPentagramNotes(atZero, s, 0);
    EXPECT_EQ(differingPixels(held, atZero), 0);
}

TEST(ScoreView, DrawsOnTheEditorsPictureBox)
{
    Score s;
    s.placeNote(12, 2, NoteId::Whole, Accidental::Sharp);
    platform::PictureBox box;
    box.resize(523, 177);
    box.image() = whiteCanvas(); // the box's persistent image, as sized by the editor
    DisplayPentagramNotes(box, s, 0, true);
    QImage expected = whiteCanvas();
    DisplayPentagramNotes(expected, s, 0);
    EXPECT_EQ(differingPixels(box.image(), expected), 0);
    EXPECT_TRUE(isInk(box.image(), 300, 110));
}

TEST(StaffLines, HorizontalLineStopsBeforeItsEndPointAndClips)
{
    const struct {
        int y, x, x2;
        int first, last; // inked columns, first > last for none
    } cases[] = {
        {5, 0, 523, 0, 522},    {5, 10, 20, 10, 19},      {5, 20, 10, 11, 20}, // drawn towards x2, x2 excluded
        {5, 7, 7, 1, 0},        {5, -50, 3, 0, 2},        {5, 500, 100000, 500, 522},
        {-1, 0, 523, 1, 0},     {177, 0, 523, 1, 0},      {5, 600, 700, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << ": " << c.x << ".." << c.x2);
        QImage canvas = whiteCanvas();
        drawHorizontalLine(canvas, c.y, c.x, c.x2);
        int ink = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if (isInk(canvas, x, y)) {
                    ++ink;
                    EXPECT_TRUE(y == c.y && x >= c.first && x <= c.last) << x << "," << y;
                }
        EXPECT_EQ(ink, std::max(0, c.last - c.first + 1));
    }
}
