#pragma once
#include <QRect>
#include <QRegion>

class QWidget;

namespace platform::chrome {

// Region helpers with the rules of the classic region calls: a rectangle
// (x1, y1)-(x2, y2) covers x1..x2-1, y1..y2-1; a rounded rectangle has corner
// ellipses of the given width and height.
QRegion rectRegion(int x1, int y1, int x2, int y2);
QRegion roundRectRegion(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight);

// Makes `region` the window's shape (replacing any earlier shape): input
// outside it reaches what lies below, and nothing is drawn there.  Where the
// display composites, the window's pixels outside the shape are transparent,
// since there the X shape is not drawn by (XWayland) or a mask only sets
// the input region (Wayland); this needs the first call before the window
// is shown.  Elsewhere the X shape cuts the window.
void setWindowShape(QWidget* window, const QRegion& region);

// Starts moving the window with the mouse as if its caption were dragged
// (the system move where the window system offers it).  Call from a press.
void startWindowDrag(QWidget* window, const QPoint& globalPressPos);

enum class ResizeEdge { Top, TopLeft, TopRight };
void startWindowResize(QWidget* window, ResizeEdge edge, const QPoint& globalPressPos);

} // namespace platform::chrome
