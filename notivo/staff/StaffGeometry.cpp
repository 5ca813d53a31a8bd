#include "notivo/staff/StaffGeometry.h"

#include "notivo/staff/GlyphSheet.h"
#include "platform/chrome/Rounding.h"
#include "platform/raster/PictureBox.h"
#include "platform/raster/Raster.h"

#include <algorithm>

namespace notivo::staff {
namespace {

// Clef and staff lines over a canvas that was just cleared.
void drawStaffInk(QImage& canvas, int y)
{
    const QPoint clef = clefOrigin(y);
    platform::raster::andCopy(canvas, clef.x(), clef.y(), ClefWidth, ClefHeight, clefImage(), 0, 0);
    for (int i = 0; i < StaffLineCount; ++i)
        drawHorizontalLine(canvas, staffLineY(y, i), 0, canvas.width());
}

} // namespace

int positionAt(double y) { return static_cast<int>(platform::roundHalfEven((y - 13.0) / 5.0)); }
int windowColumnAt(double x) { return static_cast<int>(platform::roundHalfEven((x - ColumnOrigin) / ColumnPitch)); }
int stripColumnAt(double x) { return static_cast<int>(platform::roundHalfEven((x - StripColumnOrigin) / ColumnPitch)); }

void drawHorizontalLine(QImage& canvas, int y, int x, int x2)
{
    // Canvases are 32-bit images; the raster copies refuse others too.
    if (canvas.depth() != 32 || y < 0 || y >= canvas.height())
        return;
    // From x towards x2, x2 excluded, whichever way the line runs.
    const long long first = x <= x2 ? x : static_cast<long long>(x2) + 1;
    const long long end = x <= x2 ? x2 : static_cast<long long>(x) + 1;
    const int from = static_cast<int>(std::clamp<long long>(first, 0, canvas.width()));
    const int to = static_cast<int>(std::clamp<long long>(end, 0, canvas.width()));
    auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
    std::fill(row + from, row + to, qRgb(0, 0, 0));
}

void Pentagram(QImage& canvas, int y)
{
    canvas.fill(Qt::white);
    drawStaffInk(canvas, y);
}

void Pentagram(platform::PictureBox& box, int y, bool Refresh)
{
    box.cls();
    drawStaffInk(box.image(), y);
    if (Refresh)
        box.refresh();
}

} // namespace notivo::staff
