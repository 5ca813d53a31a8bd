#include "notivo/editor/TransportFaces.h"

#include <QPainter>
#include <QPolygonF>
#include <QStyleOptionButton>

namespace notivo {

TransportFaceStyle::Symbol TransportFaceStyle::symbolOf(const QString& caption)
{
    const QString face = caption.trimmed();
    if (face == QLatin1String("4"))
        return Symbol::Play;
    if (face == QLatin1String(";"))
        return Symbol::Pause;
    if (face == QLatin1String("<"))
        return Symbol::Stop;
    return Symbol::None;
}

void TransportFaceStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                     const QWidget* widget) const
{
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    const Symbol symbol = button ? symbolOf(button->text) : Symbol::None;
    if (element != CE_PushButtonLabel || symbol == Symbol::None) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // A 9-pixel symbol in the middle of the label, one pixel down and right while pressed.
    QPointF centre = QRectF(button->rect).center();
    if (button->state & (State_Sunken | State_On))
        centre += QPointF(1, 1);
    const QColor ink = button->palette.color(button->state & State_Enabled ? QPalette::Active : QPalette::Disabled,
                                             QPalette::ButtonText);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(ink);
    switch (symbol) {
    case Symbol::Play: {
        QPolygonF triangle;
        triangle << centre + QPointF(-3.5, -5) << centre + QPointF(4.5, 0) << centre + QPointF(-3.5, 5);
        painter->drawPolygon(triangle);
        break;
    }
    case Symbol::Pause:
        painter->drawRect(QRectF(centre.x() - 4, centre.y() - 4.5, 3, 9));
        painter->drawRect(QRectF(centre.x() + 1, centre.y() - 4.5, 3, 9));
        break;
    case Symbol::Stop:
        painter->drawRect(QRectF(centre.x() - 4, centre.y() - 4, 8, 8));
        break;
    case Symbol::None:
        break;
    }
    painter->restore();
}

} // namespace notivo
