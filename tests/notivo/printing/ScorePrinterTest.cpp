#include "PdfPages.h"

#include "notivo/score/ScoreModel.h"
#include "notivo/printing/ScorePrintLayout.h"
#include "notivo/printing/ScorePrinter.h"
#include "notivo/staff/StaffGeometry.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using notivo::Score;
using notivo::ScorePrintLayout;

namespace {

struct PrintedScore {
    int pdfPages = -1;
    QList<QImage> pages;
    ScorePrintLayout layout{QSizeF(), 0};
};

// Prints `score` into a PDF file on A4 at `orientation` and reads it back.
PrintedScore printAndRead(const Score& score, QPageLayout::Orientation orientation, const QTemporaryDir& dir)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation);
    const QString pdf = dir.filePath(QStringLiteral("score.pdf"));
    printer.setOutputFileName(pdf);
    PrintedScore printed;
    if (!notivo::printScore(printer, score))
        return printed;
    printed.layout = ScorePrintLayout(printer.pageLayout().paintRect(QPageLayout::Millimeter).size(), score.ColumnCount);
    printed.pdfPages = pdfpages::pageCount(pdf);
    printed.pages = pdfpages::render(pdf, dir.path());
    return printed;
}

// Image pixel of canvas point (x, y) of a staff.
QPoint onPage(const ScorePrintLayout& layout, int staff, int x, int y)
{
    const QPoint origin = layout.staffOrigin(staff);
    return {pdfpages::MarginPixels + origin.x() + x, pdfpages::MarginPixels + origin.y() + y};
}

// The centre of a quarter's head at score column `column`, position `r`.
QPoint headOf(const ScorePrintLayout& layout, int column, int r)
{
    return onPage(layout, layout.staffOfColumn(column), layout.columnAnchorX(column) + 1, notivo::staff::headCentreY(r));
}

void expectStaffLines(const QImage& page, const ScorePrintLayout& layout, int staff)
{
    for (int i = 0; i < 5; ++i)
        for (int x : {40, 300, layout.pageWidth() - 2}) {
            const QPoint p = onPage(layout, staff, x, notivo::staff::StaffTop + 10 * i);
            EXPECT_TRUE(pdfpages::inkNear(page, p.x(), p.y())) << "staff " << staff << " line " << i << " x " << x;
        }
}

} // namespace

TEST(ScorePrinter, A120ColumnScorePrintsEveryStaffAndNote)
{
    Score score;
    // Every column holds something; the first and last hold a quarter off
    // the staff lines (position 5 above the staff, 27 below) so that their
    // ink can only come from the notes.
    for (int c = 1; c <= 120; ++c)
        score.placeNote(1 + (c * 7) % 30, c, std::uint8_t(1 + c % 5), std::uint8_t(c % 3));
    score.placeRest(60, notivo::NoteId::QuarterPause);
    score.ScoreNotes.cell(1 + 7 % 30, 1) = 0;
    score.placeNote(5, 1, notivo::NoteId::Quarter, notivo::Accidental::None);
    score.ScoreNotes.cell(1 + (120 * 7) % 30, 120) = 0;
    score.placeNote(27, 120, notivo::NoteId::Quarter, notivo::Accidental::None);
    ASSERT_EQ(score.ColumnCount, 120);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const PrintedScore printed = printAndRead(score, QPageLayout::Portrait, dir);
    const ScorePrintLayout& layout = printed.layout;
    EXPECT_EQ(layout.staffCount(), 3);
    EXPECT_EQ(layout.pageCount(), 1);
    EXPECT_EQ(printed.pdfPages, layout.pageCount());
    ASSERT_EQ(printed.pages.size(), layout.pageCount());
    const QImage& page = printed.pages[0];
    // A4 at 127 dpi.
    EXPECT_NEAR(page.width(), 1050, 1);
    EXPECT_NEAR(page.height(), 1485, 1);

    for (int staff = 0; staff < layout.staffCount(); ++staff)
        expectStaffLines(page, layout, staff);

    const QPoint first = headOf(layout, 1, 5);
    const QPoint last = headOf(layout, 120, 27);
    EXPECT_TRUE(pdfpages::inkNear(page, first.x(), first.y())) << first.x() << "," << first.y();
    EXPECT_TRUE(pdfpages::inkNear(page, last.x(), last.y())) << last.x() << "," << last.y();
    // Beside those heads, where no note was written, the paper stays white.
    EXPECT_TRUE(pdfpages::blank(page, QRect(first.x() - 4, first.y() + 20, 9, 6)));
    EXPECT_TRUE(pdfpages::blank(page, QRect(last.x() - 4, last.y() - 30, 9, 6)));

    // The rest of the last staff, beyond column 120, carries nothing but the
    // staff lines.
    const QPoint from = onPage(layout, 2, layout.columnAnchorX(120) + 16, 0);
    const QPoint to = onPage(layout, 2, layout.pageWidth() - 1, notivo::staff::StaffTop - 1);
    EXPECT_TRUE(pdfpages::blank(page, QRect(from, to)));
    // Nothing is printed below the third staff.
    const QPoint below = onPage(layout, 2, 0, ScorePrintLayout::StaffTop + ScorePrintLayout::StaffHeight + 2);
    EXPECT_TRUE(pdfpages::blank(page, QRect(below.x(), below.y(), layout.pageWidth(), 100)));
}

TEST(ScorePrinter, LongScoreInLandscapeContinuesOnASecondPage)
{
    Score score;
    for (int c = 1; c <= 500; ++c)
        score.placeNote(5, c, notivo::NoteId::Quarter, notivo::Accidental::None);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const PrintedScore printed = printAndRead(score, QPageLayout::Landscape, dir);
    const ScorePrintLayout& layout = printed.layout;
    EXPECT_EQ(layout.columnsPerStaff(), 80);
    EXPECT_EQ(layout.stavesPerPage(), 4);
    EXPECT_EQ(layout.pageCount(), 2);
    EXPECT_EQ(printed.pdfPages, 2);
    ASSERT_EQ(printed.pages.size(), 2);
    for (const QImage& page : printed.pages)
        EXPECT_GT(page.width(), page.height());

    // Column 321 is the first of the fifth staff: the top staff of page 2.
    const QPoint head321 = headOf(layout, 321, 5);
    EXPECT_EQ(layout.pageOfStaff(layout.staffOfColumn(321)), 1);
    EXPECT_TRUE(pdfpages::inkNear(printed.pages[1], head321.x(), head321.y()));
    const QPoint head500 = headOf(layout, 500, 5);
    EXPECT_TRUE(pdfpages::inkNear(printed.pages[1], head500.x(), head500.y()));
    expectStaffLines(printed.pages[1], layout, 6);
    // Page 2 holds three staves (columns 321..500), the fourth slot is empty.
    const QPoint slot4 = onPage(layout, 7, 0, ScorePrintLayout::StaffTop);
    EXPECT_TRUE(pdfpages::blank(printed.pages[1], QRect(slot4.x(), slot4.y(), layout.pageWidth(), 170)));
}

TEST(ScorePrinter, EmptyScorePrintsOnePageWithAnEmptyStaff)
{
    const Score score;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const PrintedScore printed = printAndRead(score, QPageLayout::Portrait, dir);
    EXPECT_EQ(printed.pdfPages, 1);
    ASSERT_EQ(printed.pages.size(), 1);
    expectStaffLines(printed.pages[0], printed.layout, 0);
    // The clef is there, and no note anywhere right of it.
    const QPoint clef = onPage(printed.layout, 0, 21, 100);
    const QPoint afterClef = onPage(printed.layout, 0, 40, 0);
    EXPECT_TRUE(pdfpages::inkNear(printed.pages[0], clef.x(), clef.y(), 6));
    EXPECT_TRUE(pdfpages::blank(printed.pages[0], QRect(afterClef.x(), afterClef.y(), 800, 69)));
}

TEST(ScorePrinter, UnwritableFileIsReportedAsFailure)
{
    const Score score;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/nonexistent-folder/score.pdf"));
    EXPECT_FALSE(notivo::printScore(printer, score));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/nonexistent-folder/score.pdf")));
}
