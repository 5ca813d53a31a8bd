#include "keyrig/PanelLabel.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/raster/CanvasScale.h"
#include "platform/raster/RatioPicture.h"

PanelLabel::PanelLabel(QWidget* parent) : QLabel(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void PanelLabel::setBackColour(const QColor& colour)
{
    back_ = colour;
    update();
}

void PanelLabel::setTextColour(const QColor& colour)
{
    text_ = colour;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
    update();
}

void PanelLabel::setSymbol(const QString& picture)
{
    symbol_ = picture;
    update();
}

void PanelLabel::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event->button(), event->position());
}

void PanelLabel::mouseMoveEvent(QMouseEvent* event) { emit mouseMove(event->position()); }

void PanelLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    emit mouseUp(event->button(), pos);
    if (event->button() == Qt::LeftButton && rect().contains(pos.toPoint()))
        emit clicked();
}

void PanelLabel::paintEvent(QPaintEvent* event)
{
    if (back_.isValid()) {
        QPainter p(this);
        p.fillRect(rect(), back_);
    }
    if (symbol_.isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    // Tint the white mask with the current text colour.
    QImage tinted = platform::raster::pictureForRatio(symbol_, devicePixelRatio())
                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter t(&tinted);
        t.setCompositionMode(QPainter::CompositionMode_SourceIn);
        t.fillRect(QRect(QPoint(0, 0), platform::raster::logicalSize(tinted)), text_);
    }
    QPainter p(this);
    const QSize size = platform::raster::logicalSize(tinted);
    const QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
    p.drawImage(at, tinted);
}
