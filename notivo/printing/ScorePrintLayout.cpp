#include "notivo/printing/ScorePrintLayout.h"

#include "notivo/staff/GlyphSheet.h"
#include "notivo/staff/StaffGeometry.h"

#include <algorithm>
#include <cmath>

namespace notivo {
namespace {

int staffPixels(double millimetres)
{
    if (!(millimetres > 0))
        return 0;
    // A paper size given in points or inches comes back in millimetres a
    // hair below its whole value; that hair must not cost a staff pixel.
    return int(std::floor(millimetres / ScorePrintLayout::MillimetresPerStaffPixel + 1e-6));
}

} // namespace

ScorePrintLayout::ScorePrintLayout(QSizeF printableMillimetres, int columnCount)
    : pageWidth_(staffPixels(printableMillimetres.width()))
    , pageHeight_(staffPixels(printableMillimetres.height()))
    , columnCount_(std::max(columnCount, 0))
{
    // Window column w of a staff has its anchor where the editor draws it;
    // the last one must hold the widest glyph right of its anchor.  A page
    // too small for one column or one staff still gets one, drawn clipped,
    // rather than an endless job.
    const int usable = pageWidth_ - staff::columnAnchorX(0) - staff::GlyphRightReach;
    columnsPerStaff_ = std::max(1, usable / staff::ColumnPitch);
    stavesPerPage_ = std::max(1, (pageHeight_ + StaffGap) / (StaffHeight + StaffGap));
    staffCount_ = std::max(1, (columnCount_ + columnsPerStaff_ - 1) / columnsPerStaff_);
    pageCount_ = (staffCount_ + stavesPerPage_ - 1) / stavesPerPage_;
}

int ScorePrintLayout::lastColumnOfStaff(int staff) const
{
    return std::min(columnCount_, (staff + 1) * columnsPerStaff_);
}

QPoint ScorePrintLayout::staffOrigin(int staff) const
{
    const int slot = staff % stavesPerPage_;
    return {0, slot * (StaffHeight + StaffGap) - StaffTop};
}

int ScorePrintLayout::columnAnchorX(int column) const
{
    return staff::columnAnchorX(column - firstColumnOfStaff(staffOfColumn(column)) + 1);
}

} // namespace notivo
