#pragma once
#include <QPoint>
#include <QSizeF>

namespace notivo {

// How a printed score sits on paper.  Every staff is drawn exactly as the
// editor's canvas draws it (same staff lines, clef, glyph cells and anchors),
// in "staff pixels" that have a fixed size on paper, so the print looks like
// the screen whatever the printer's resolution.  The score is cut into
// staves of as many columns as the printable width holds, stacked down the
// page and continued on further pages.
class ScorePrintLayout {
public:
    // Size of one staff pixel on paper: staff lines 2 mm apart.
    static constexpr double MillimetresPerStaffPixel = 0.2;
    // Canvas rows a staff occupies: from just above the highest glyph of
    // position 1 (a sharp cell starts 2 rows above the canvas) to below the
    // lowest of position 30.
    static constexpr int StaffTop = -2;
    static constexpr int StaffHeight = 176;
    // Free staff pixels between two staves.
    static constexpr int StaffGap = 10;

    // Layout of `columnCount` score columns on pages whose printable area is
    // `printableMillimetres`.  An empty score still has one (empty) staff.
    ScorePrintLayout(QSizeF printableMillimetres, int columnCount);

    int pageWidth() const { return pageWidth_; }   // printable width, staff pixels
    int pageHeight() const { return pageHeight_; } // printable height, staff pixels
    int columnsPerStaff() const { return columnsPerStaff_; }
    int stavesPerPage() const { return stavesPerPage_; }
    int staffCount() const { return staffCount_; }
    int pageCount() const { return pageCount_; }

    // Staves are numbered from 0 through the whole score.
    int pageOfStaff(int staff) const { return staff / stavesPerPage_; }
    int firstColumnOfStaff(int staff) const { return staff * columnsPerStaff_ + 1; }
    int lastColumnOfStaff(int staff) const;
    // Where canvas (0, 0) of the staff lies in the printable area of its page.
    QPoint staffOrigin(int staff) const;

    // The staff that shows score column `column` (1-based) and the canvas
    // anchor x of that column on it (the x the editor hands to its glyph drawing).
    int staffOfColumn(int column) const { return (column - 1) / columnsPerStaff_; }
    int columnAnchorX(int column) const;

private:
    int pageWidth_;
    int pageHeight_;
    int columnsPerStaff_;
    int stavesPerPage_;
    int staffCount_;
    int pageCount_;
    int columnCount_;
};

} // namespace notivo
