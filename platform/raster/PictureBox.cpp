#include "platform/raster/PictureBox.h"

#include "platform/raster/CanvasScale.h"
#include "platform/raster/Raster.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

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

int PictureBox::scaleWidth() const { return raster::logicalSize(image()).width(); }
int PictureBox::scaleHeight() const { return raster::logicalSize(image()).height(); }

void PictureBox::cls() { image().fill(opaque(backColor_)); }

void PictureBox::pset(int x, int y, const QColor& color) { raster::pset(image(), x, y, opaque(color)); }

void PictureBox::line(int x1, int y1, int x2, int y2, const QColor& color)
{
    raster::line(image(), x1, y1, x2, y2, opaque(color));
}

void PictureBox::refresh() { repaint(); }

void PictureBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect area = event->rect();
    syncImageSize();
    // The image pixels under the area, one image pixel to one device pixel.
    const QRect source(QPoint(int(raster::deviceX(image_, area.left())), int(raster::deviceY(image_, area.top()))),
                       QPoint(int(raster::deviceX(image_, area.right() + 1)) - 1,
                              int(raster::deviceY(image_, area.bottom() + 1)) - 1));
    painter.drawImage(QPointF(area.topLeft()), image_, QRectF(source));
}

void PictureBox::syncImageSize() const
{
    const QSize wanted = size().expandedTo(QSize(1, 1));
    const qreal ratio = raster::canvasRatio(devicePixelRatio());
    if (!image_.isNull() && wanted == raster::logicalSize(image_) && ratio == image_.devicePixelRatio())
        return;
    // The drawing survives a resize: old pixels stay at the top left, the
    // new area gets the back colour.
    QImage grown(raster::deviceSize(wanted, ratio), QImage::Format_RGB32);
    grown.setDevicePixelRatio(ratio);
    grown.fill(opaque(backColor_));
    if (ratio != image_.devicePixelRatio()) {
        // A screen of another density: the old drawing is rescaled until its owner draws again.
        QPainter painter(&grown);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(0, 0, image_);
    } else {
        const int w = std::min(grown.width(), image_.width());
        const int h = std::min(grown.height(), image_.height());
        for (int y = 0; y < h; ++y)
            std::copy_n(reinterpret_cast<const QRgb*>(image_.constScanLine(y)), w,
                        reinterpret_cast<QRgb*>(grown.scanLine(y)));
    }
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
