#include "platform/chrome/WindowChrome.h"

#include "platform/chrome/Compositing.h"
#include "platform/chrome/FloatingSize.h"
#include "platform/chrome/TranslucentShape.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <vector>

namespace platform::chrome {

QRegion rectRegion(int x1, int y1, int x2, int y2)
{
    // Corners given in any order describe the same rectangle.
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    return QRegion(left, top, right - left, bottom - top);
}

QRegion roundRectRegion(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight)
{
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    const int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0)
        return {};
    // Corner ellipses larger than the rectangle are cut to its size.
    const double a = std::clamp(std::abs(ellipseWidth), 0, width) / 2.0;
    const double b = std::clamp(std::abs(ellipseHeight), 0, height) / 2.0;
    if (a < 1.0 || b < 1.0)
        return QRegion(left, top, width, height);

    // One span per row: a pixel belongs to the region when its centre lies
    // inside the rectangle with its corners replaced by quarter ellipses.
    std::vector<QRect> rows;
    rows.reserve(std::size_t(height));
    for (int row = 0; row < height; ++row) {
        const double cy = row + 0.5;
        double dy = 0.0; // distance into the corner band, in ellipse radii
        if (cy < b)
            dy = (b - cy) / b;
        else if (cy > height - b)
            dy = (cy - (height - b)) / b;
        int inset = 0;
        if (dy > 0.0) {
            const double reach = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
            // First column whose centre is within `reach` of the ellipse centre.
            inset = int(std::ceil(a - reach - 0.5));
            inset = std::max(inset, 0);
        }
        const int span = width - 2 * inset;
        if (span > 0)
            rows.emplace_back(left + inset, top + row, span, 1);
    }
    QRegion region;
    region.setRects(rows.data(), int(rows.size()));
    return region;
}

void setWindowShape(QWidget* window, const QRegion& region)
{
    if (!window)
        return;
    window->setMask(region);
    // A window already on screen keeps its opaque pixels: translucency is
    // chosen when the window is made.
    if (!displayComposites())
        return;
    auto* existing = window->findChild<TranslucentShape*>(QString(), Qt::FindDirectChildrenOnly);
    if (!existing && window->testAttribute(Qt::WA_WState_Created))
        return;
    TranslucentShape::of(window)->setShape(region);
}

namespace {

// Moves or resizes a window by the mouse's travel until the left button is
// released, for window systems that offer no system move or resize.
class MouseTracker : public QObject {
public:
    enum class Mode { Move, ResizeTop, ResizeTopLeft, ResizeTopRight };

    MouseTracker(QWidget* window, Mode mode, const QPoint& pressPos)
        : window_(window)
        , mode_(mode)
        , pressPos_(pressPos)
        , startPos_(window->pos())
        , startGeometry_(window->geometry())
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseMove && event->type() != QEvent::MouseButtonRelease)
            return QObject::eventFilter(watched, event);
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!window_ || event->type() == QEvent::MouseButtonRelease || mouse->buttons() == Qt::NoButton) {
            deleteLater();
            QCoreApplication::instance()->removeEventFilter(this);
            return false;
        }
        // One move may pass here several times (window, widget, parents);
        // the geometry is computed from the start, so repeats change nothing.
        follow(mouse->globalPosition().toPoint() - pressPos_);
        return false;
    }

private:
    void follow(const QPoint& delta)
    {
        QRect g = startGeometry_;
        const QSize minimum = window_->minimumSize();
        switch (mode_) {
        case Mode::Move:
            window_->move(startPos_ + delta);
            return;
        case Mode::ResizeTopLeft:
            g.setLeft(std::min(g.left() + delta.x(), g.right() + 1 - std::max(minimum.width(), 1)));
            [[fallthrough]];
        case Mode::ResizeTop:
            g.setTop(std::min(g.top() + delta.y(), g.bottom() + 1 - std::max(minimum.height(), 1)));
            break;
        case Mode::ResizeTopRight:
            g.setTop(std::min(g.top() + delta.y(), g.bottom() + 1 - std::max(minimum.height(), 1)));
            g.setWidth(std::max(g.width() + delta.x(), std::max(minimum.width(), 1)));
            break;
        }
        window_->setGeometry(g);
    }

    QPointer<QWidget> window_;
    Mode mode_;
    QPoint pressPos_;
    QPoint startPos_;
    QRect startGeometry_;
};

Qt::Edges edgesOf(ResizeEdge edge)
{
    switch (edge) {
    case ResizeEdge::TopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case ResizeEdge::TopRight: return Qt::TopEdge | Qt::RightEdge;
    case ResizeEdge::Top: break;
    }
    return Qt::TopEdge;
}

MouseTracker::Mode modeOf(ResizeEdge edge)
{
    switch (edge) {
    case ResizeEdge::TopLeft: return MouseTracker::Mode::ResizeTopLeft;
    case ResizeEdge::TopRight: return MouseTracker::Mode::ResizeTopRight;
    case ResizeEdge::Top: break;
    }
    return MouseTracker::Mode::ResizeTop;
}

} // namespace

void startWindowDrag(QWidget* window, const QPoint& globalPressPos)
{
    if (!window)
        return;
    window = window->window();
    QWindow* handle = window->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    new MouseTracker(window, MouseTracker::Mode::Move, globalPressPos);
}

void startWindowResize(QWidget* window, ResizeEdge edge, const QPoint& globalPressPos)
{
    if (!window)
        return;
    window = window->window();
    allowResize(window);
    QWindow* handle = window->windowHandle();
    if (handle && handle->startSystemResize(edgesOf(edge)))
        return;
    new MouseTracker(window, modeOf(edge), globalPressPos);
}

} // namespace platform::chrome
