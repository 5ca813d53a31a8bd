#include "platform/raster/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace platform {
namespace {

// RGB32 keeps the alpha byte at 0xFF; forcing it keeps colours with a
// transparent alpha from leaving undefined pixels behind.
inline QRgb opaque(const QColor& color) { return color.rgb() | 0xFF000000u; }

} // namespace

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
{
    // Everything shown comes from the image, so Qt need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves are reported with no button held too, as the pointer's note
    // name and cursor follow it.
    setMouseTracking(true);
    syncImageSize();
}

void PictureBox::setBackColor(const QColor& color)
{
    backColor_ = color;
    cls();
}

void PictureBox::cls() { image().fill(opaque(backColor_)); }

void PictureBox::pset(int x, int y, const QColor& color)
{
    QImage& target = image();
    if (x < 0 || y < 0 || x >= target.width() || y >= target.height())
        return;
    reinterpret_cast<QRgb*>(target.scanLine(y))[x] = opaque(color);
}

void PictureBox::line(int x1, int y1, int x2, int y2, const QColor& color)
{
    const QRgb rgb = opaque(color);
    syncImageSize();
    const int width = image_.width();
    const int height = image_.height();

    // Straight lines are clipped directly, whatever their length.
    if (y1 == y2) {
        if (y1 < 0 || y1 >= height || x1 == x2)
            return;
        // The end point is excluded, so the run is [x1, x2) or (x2, x1].
        const int from = x1 < x2 ? x1 : x2 + 1;
        const int to = x1 < x2 ? x2 - 1 : x1;
        QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y1));
        for (int x = std::max(from, 0); x <= std::min(to, width - 1); ++x)
            row[x] = rgb;
        return;
    }
    if (x1 == x2) {
        if (x1 < 0 || x1 >= width)
            return;
        const int from = y1 < y2 ? y1 : y2 + 1;
        const int to = y1 < y2 ? y2 - 1 : y1;
        for (int y = std::max(from, 0); y <= std::min(to, height - 1); ++y)
            reinterpret_cast<QRgb*>(image_.scanLine(y))[x1] = rgb;
        return;
    }
    // Both ends beyond the same edge: nothing of the line can show.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= width && x2 >= width) || (y1 >= height && y2 >= height))
        return;

    // Bresenham; 64-bit error terms so far-away end points cannot overflow.
    const std::int64_t dx = std::abs(std::int64_t(x2) - x1);
    const std::int64_t dy = -std::abs(std::int64_t(y2) - y1);
    const int stepX = x1 < x2 ? 1 : -1;
    const int stepY = y1 < y2 ? 1 : -1;
    std::int64_t err = dx + dy;
    std::int64_t x = x1;
    std::int64_t y = y1;
    while (x != x2 || y != y2) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            reinterpret_cast<QRgb*>(image_.scanLine(int(y)))[x] = rgb;
        const std::int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += stepX;
        }
        if (e2 <= dx) {
            err += dx;
            y += stepY;
        }
    }
}

void PictureBox::refresh() { repaint(); }

void PictureBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect area = event->rect();
    syncImageSize();
    painter.drawImage(area.topLeft(), image_, area);
}

void PictureBox::syncImageSize() const
{
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (wanted == image_.size())
        return;
    // The drawing survives a resize: old pixels stay at the top left, the
    // new area gets the back colour.
    QImage grown(wanted, QImage::Format_RGB32);
    grown.fill(opaque(backColor_));
    const int w = std::min(wanted.width(), image_.width());
    const int h = std::min(wanted.height(), image_.height());
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const QRgb*>(image_.constScanLine(y)), w,
                    reinterpret_cast<QRgb*>(grown.scanLine(y)));
    image_ = std::move(grown);
}

void PictureBox::resizeEvent(QResizeEvent* event)
{
    syncImageSize();
    QWidget::resizeEvent(event);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit mouseDown(event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit mouseMove(event->buttons(), event->modifiers(), p.x(), p.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit mouseUp(event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
    // A click is a press and release of the left button over the box.
    if (event->button() == Qt::LeftButton && rect().contains(p.toPoint()))
        emit clicked();
}

} // namespace platform
