#include "notivo/printing/ScorePrintLayout.h"
#include "notivo/staff/GlyphSheet.h"
#include "notivo/staff/StaffGeometry.h"

#include <gtest/gtest.h>

using notivo::ScorePrintLayout;

// A4 with 15 mm margins leaves 180 x 267 mm: 900 x 1335 staff pixels.
TEST(ScorePrintLayout, StavesColumnsAndPagesFollowThePrintableArea)
{
    const struct {
        const char* what;
        QSizeF printable;
        int columns;
        int columnsPerStaff, stavesPerPage, staffCount, pageCount;
    } cases[] = {
        // (900 - 30 - 13) / 16 = 53 columns; (1335 + 10) / 186 = 7 staves.
        {"empty A4", {180, 267}, 0, 53, 7, 1, 1},
        {"one column", {180, 267}, 1, 53, 7, 1, 1},
        {"one full staff", {180, 267}, 53, 53, 7, 1, 1},
        {"one over", {180, 267}, 54, 53, 7, 2, 1},
        {"120 columns", {180, 267}, 120, 53, 7, 3, 1},
        {"a full page", {180, 267}, 371, 53, 7, 7, 1},
        {"second page", {180, 267}, 372, 53, 7, 8, 2},
        {"whole grid", {180, 267}, 500, 53, 7, 10, 2},
        // Landscape: (1335 - 43) / 16 = 80 columns, (900 + 10) / 186 = 4 staves.
        {"landscape 120", {267, 180}, 120, 80, 4, 2, 1},
        {"landscape 500", {267, 180}, 500, 80, 4, 7, 2},
        // A page smaller than a staff still gets one column and one staff.
        {"tiny page", {5, 5}, 3, 1, 1, 3, 3},
        {"no page", {0, 0}, 10, 1, 1, 10, 10},
        {"negative count", {180, 267}, -4, 53, 7, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ScorePrintLayout layout(c.printable, c.columns);
        EXPECT_EQ(layout.columnsPerStaff(), c.columnsPerStaff);
        EXPECT_EQ(layout.stavesPerPage(), c.stavesPerPage);
        EXPECT_EQ(layout.staffCount(), c.staffCount);
        EXPECT_EQ(layout.pageCount(), c.pageCount);
    }
}

TEST(ScorePrintLayout, PaperSizesJustUnderAWholeMillimetreKeepTheirPixels)
{
    const ScorePrintLayout layout({179.9999999, 266.9999999}, 1);
    EXPECT_EQ(layout.pageWidth(), 900);
    EXPECT_EQ(layout.pageHeight(), 1335);
}

TEST(ScorePrintLayout, ColumnsAndStavesLandWhereTheEditorWouldDrawThem)
{
    const ScorePrintLayout layout({180, 267}, 500);
    const struct {
        int column, staff, anchorX, page, originY;
    } cases[] = {
        {1, 0, 46, 0, 2},        // window column 1, canvas row 0 two pixels into the page
        {53, 0, 878, 0, 2},      // 16 * 53 + 30; its widest glyph ends at 891 < 900
        {54, 1, 46, 0, 188},     // next staff, 176 + 10 further down
        {371, 6, 878, 0, 1118},
        {372, 7, 46, 1, 2},      // first staff of the second page
        {500, 9, 16 * 23 + 30, 1, 374},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(layout.staffOfColumn(c.column), c.staff);
        EXPECT_EQ(layout.columnAnchorX(c.column), c.anchorX);
        EXPECT_EQ(layout.pageOfStaff(c.staff), c.page);
        EXPECT_EQ(layout.staffOrigin(c.staff), QPoint(0, c.originY));
    }
    EXPECT_EQ(layout.firstColumnOfStaff(9), 478);
    EXPECT_EQ(layout.lastColumnOfStaff(9), 500);
    EXPECT_EQ(layout.lastColumnOfStaff(0), 53);
    // The lowest staff of a page ends inside it.
    EXPECT_LE(layout.staffOrigin(6).y() + ScorePrintLayout::StaffTop + ScorePrintLayout::StaffHeight,
              layout.pageHeight());
}

// The first column of a staff keeps its glyphs clear of the left edge, and
// the last column holds the widest glyph whole (the quaver's
// picture reaches 15 pixels right of its anchor), whatever the paper width,
// so the staff's clip never cuts a flag off.
TEST(ScorePrintLayout, EveryGlyphOfTheLastColumnFitsOnThePage)
{
    const ScorePrintLayout any({180, 267}, 1);
    for (int id : {1, 2, 3, 4, 5, 10, 11})
        EXPECT_GE(notivo::staff::glyphPlacement(any.columnAnchorX(1), notivo::staff::rowAnchorY(15), id, 0)->at.x(), 0);
    for (int width = 120; width <= 1400; ++width) {
        SCOPED_TRACE(width);
        const ScorePrintLayout layout({width * ScorePrintLayout::MillimetresPerStaffPixel + 1e-9, 267}, 500);
        ASSERT_EQ(layout.pageWidth(), width);
        const int x = layout.columnAnchorX(layout.columnsPerStaff());
        for (int id : {1, 2, 3, 4, 5, 10, 11})
            for (int fb = 0; fb <= 2; ++fb) {
                const auto glyph = notivo::staff::glyphPlacement(x, notivo::staff::rowAnchorY(15), id, fb);
                ASSERT_TRUE(glyph);
                EXPECT_LE(glyph->at.x() + glyph->source.width(), width) << "id " << id;
            }
        // ... and one column more would not fit.
        const auto quaver = notivo::staff::glyphPlacement(x + 16, notivo::staff::rowAnchorY(15), 2, 0);
        EXPECT_GT(quaver->at.x() + quaver->source.width(), width);
    }
}
