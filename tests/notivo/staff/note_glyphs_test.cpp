#include "notivo/staff/GlyphSheet.h"
#include "notivo/staff/NoteGlyphs.h"
#include "PixelSupport.h"

#include <gtest/gtest.h>

using namespace notivo::staff;
using namespace staff_test;

TEST(GlyphSheet, PicturesAreMonochromeOfTheRightSize)
{
    const QImage& sheet = glyphSheet();
    ASSERT_EQ(sheet.size(), QSize(102, 80));
    int ink = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) {
            const QRgb p = sheet.pixel(x, y);
            ASSERT_TRUE(p == Black || p == White) << x << "," << y;
            ink += p == Black;
        }
    EXPECT_GT(ink, 500);
    const QImage& clef = clefImage();
    ASSERT_EQ(clef.size(), QSize(32, 85));
    int clefInk = 0;
    for (int y = 0; y < clef.height(); ++y)
        for (int x = 0; x < clef.width(); ++x)
            clefInk += clef.pixel(x, y) == Black;
    EXPECT_GT(clefInk, 200);
    // The spare block is solid.
    for (int y = SpareBlockTop; y < SpareBlockTop + SpareBlockHeight; ++y)
        for (int x = SpareBlockLeft; x < SpareBlockLeft + SpareBlockWidth; ++x)
            EXPECT_TRUE(isInk(sheet, x, y));
}

TEST(NoteGlyphs, WorkedPlacementsAreExact)
{
    struct Case {
        const char* name;
        int y, id, accidental;
        QRect source;
        QPoint at;
    } cases[] = {
        {"Quarter at 15", 88, 3, 0, {23, 0, 14, 25}, {41, 70}},
        {"Quarter at 15 sharp", 88, 3, 1, {23, 26, 14, 27}, {41, 68}},
        {"Semiquaver at 21 flat", 118, 1, 2, {66, 55, 20, 27}, {39, 100}},
        {"Quarter Pause", 88, 10, 0, {91, 0, 9, 25}, {44, 79}},
        {"Quarter Pause elsewhere, odd accidental", 23, 10, 9, {91, 0, 9, 25}, {44, 79}},
        {"Quaver Pause", 88, 11, 0, {91, 28, 11, 17}, {41, 82}},
        {"Quaver Pause elsewhere", 148, 11, 2, {91, 28, 11, 17}, {41, 82}},
        {"Quaver at 9", 58, 2, 0, {0, 0, 20, 25}, {41, 40}},
        {"Half at 30 sharp", 163, 4, 1, {36, 26, 14, 27}, {39, 143}},
        {"Whole at 1 flat", 18, 5, 2, {52, 55, 14, 27}, {39, 0}},
    };
    const QImage& sheet = glyphSheet();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage canvas = whiteCanvas();
        Draw_Note(canvas, 46, c.y, c.id, std::uint8_t(c.accidental));
        const QImage expected = expectedAndCopy(whiteCanvas(), sheet, c.source, c.at);
        EXPECT_EQ(differingPixels(canvas, expected), 0);
        EXPECT_GT(differingPixels(canvas, whiteCanvas()), 20); // the picture holds ink
    }
}

TEST(NoteGlyphs, HeadsCentreOnTheirStaffPosition)
{
    // Filled heads are ink at their centre (x, y + 2); hollow ones are open
    // there with their rim on both sides, in every band.
    for (int accidental = 0; accidental <= 2; ++accidental)
        for (int id = 1; id <= 5; ++id) {
            SCOPED_TRACE(testing::Message() << "id " << id << " accidental " << accidental);
            QImage canvas = whiteCanvas();
            const int x = 206, y = 5 * 20 + 13;
            Draw_Note(canvas, x, y, id, std::uint8_t(accidental));
            const int centre = y + 2;
            if (id <= 3) {
                EXPECT_TRUE(isInk(canvas, x + 1, centre));
                EXPECT_TRUE(isInk(canvas, x - 3, centre));
            } else {
                EXPECT_FALSE(isInk(canvas, x, centre));
                bool left = false, right = false;
                for (int i = 4; i <= 8; ++i) {
                    left |= isInk(canvas, x - i, centre);
                    right |= isInk(canvas, x + i - 1, centre);
                }
                EXPECT_TRUE(left && right);
            }
            // Nothing of the head reaches beyond its nine rows below the anchor.
            for (int i = x - 8; i <= x + 8; ++i)
                EXPECT_FALSE(isInk(canvas, i, y + 7)) << i;
        }
}

TEST(NoteGlyphs, UnknownIdsAndAccidentalsDrawNothing)
{
    const QImage blank = whiteCanvas();
    for (int id = 0; id <= 255; ++id) {
        if ((id >= 1 && id <= 5) || id == 10 || id == 11)
            continue;
        QImage canvas = whiteCanvas();
        Draw_Note(canvas, 46, 88, id, 0);
        Draw_Note(canvas, 46, 88, id, 1);
        EXPECT_EQ(differingPixels(canvas, blank), 0) << id;
    }
    for (int accidental = 3; accidental <= 255; ++accidental)
        for (int id = 1; id <= 5; ++id) {
            QImage canvas = whiteCanvas();
            Draw_Note(canvas, 46, 88, id, std::uint8_t(accidental));
            EXPECT_EQ(differingPixels(canvas, blank), 0) << id << " " << accidental;
        }
}

TEST(NoteGlyphs, CopiesOnlyAddInkAndClipAtTheEdges)
{
    QImage once = whiteCanvas();
    for (int x = 0; x < once.width(); ++x)
        once.setPixel(x, 90, Black); // a staff line under the note stays
    Draw_Note(once, 46, 88, 1, 1);
    QImage twice = once.copy();
    Draw_Note(twice, 46, 88, 1, 1);
    EXPECT_EQ(differingPixels(once, twice), 0);
    for (int x = 0; x < once.width(); ++x)
        EXPECT_TRUE(isInk(once, x, 90));

    // Far outside the canvas, or half off it: no fault, only the part inside is drawn.
    QImage edge = whiteCanvas();
    Draw_Note(edge, -100000, 88, 3, 0);
    Draw_Note(edge, 46, 100000, 2, 2);
    EXPECT_EQ(differingPixels(edge, whiteCanvas()), 0);
    Draw_Note(edge, 526, 88, 1, 0); // window column 31 reaches four columns into the canvas
    const QImage expected = expectedAndCopy(whiteCanvas(), glyphSheet(), {66, 0, 20, 25}, {519, 70});
    EXPECT_EQ(differingPixels(edge, expected), 0);
}
