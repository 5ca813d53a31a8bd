#include "keyrig/PanelLabel.h"

#include <QMouseEvent>
#include <QPainter>

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

void PanelLabel::setSymbol(const QImage& mask)
{
    symbol_ = mask.convertToFormat(QImage::Format_ARGB32_Premultiplied);
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
    if (symbol_.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    // Tint the white mask with the current text colour.
    QImage tinted = symbol_;
    {
        QPainter t(&tinted);
        t.setCompositionMode(QPainter::CompositionMode_SourceIn);
        t.fillRect(tinted.rect(), text_);
    }
    QPainter p(this);
    const QPoint at((width() - tinted.width()) / 2, (height() - tinted.height()) / 2);
    p.drawImage(at, tinted);
}
