#include "notivo/staff/StaffGeometry.h"

#include "notivo/staff/GlyphSheet.h"
#include "platform/chrome/Rounding.h"
#include "platform/raster/CanvasScale.h"
#include "platform/raster/PictureBox.h"
#include "platform/raster/Raster.h"

namespace notivo::staff {
namespace {

// Clef and staff lines over a canvas that was just cleared.
void drawStaffInk(QImage& canvas, int y)
{
    const QPoint clef = clefOrigin(y);
    platform::raster::andCopy(canvas, clef.x(), clef.y(), ClefWidth, ClefHeight,
                              clefImage(canvas.devicePixelRatio()), 0, 0);
    for (int i = 0; i < StaffLineCount; ++i)
        drawHorizontalLine(canvas, staffLineY(y, i), 0, platform::raster::logicalSize(canvas).width());
}

} // namespace

int positionAt(double y) { return static_cast<int>(platform::roundHalfEven((y - 13.0) / 5.0)); }
int windowColumnAt(double x) { return static_cast<int>(platform::roundHalfEven((x - ColumnOrigin) / ColumnPitch)); }
int stripColumnAt(double x) { return static_cast<int>(platform::roundHalfEven((x - StripColumnOrigin) / ColumnPitch)); }

void drawHorizontalLine(QImage& canvas, int y, int x, int x2)
{
    platform::raster::line(canvas, x, y, x2, y, qRgb(0, 0, 0));
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
