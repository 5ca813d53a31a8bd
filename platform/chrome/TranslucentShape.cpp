#include "platform/chrome/TranslucentShape.h"

#include <QChildEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

namespace platform::chrome {

TranslucentShape* TranslucentShape::of(QWidget* window)
{
    if (auto* existing = window->findChild<TranslucentShape*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new TranslucentShape(window);
}

TranslucentShape::TranslucentShape(QWidget* window) : QObject(window), window_(window)
{
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->installEventFilter(this);
}

void TranslucentShape::setShape(const QRegion& shape)
{
    shape_ = shape;
    for (QWidget* child : window_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        child->installEventFilter(this);
        clipChild(child);
    }
    window_->update();
}

void TranslucentShape::clipChild(QWidget* child) const
{
    if (child->isWindow())
        return;
    const QRegion inside = shape_.translated(-child->pos()) & QRegion(child->rect());
    if (inside == QRegion(child->rect()))
        child->clearMask();
    else
        child->setMask(inside.isEmpty() ? QRegion(-1, -1, 1, 1) : inside); // an empty mask would be none
}

bool TranslucentShape::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_) {
        if (event->type() == QEvent::Paint) {
            paintWindow(event);
            return true;
        }
        if (event->type() == QEvent::ChildAdded) {
            auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child());
            if (child) {
                child->installEventFilter(this);
                clipChild(child);
            }
        }
        return false;
    }
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        auto* child = static_cast<QWidget*>(watched);
        if (child->parentWidget() == window_)
            clipChild(child);
    }
    return false;
}

void TranslucentShape::paintWindow(QEvent* paint)
{
    const QRect dirty = static_cast<QPaintEvent*>(paint)->rect();
    {
        // The background the toolkit paints for an opaque window.
        QPainter painter(window_);
        painter.setClipRegion(shape_);
        painter.fillRect(dirty, window_->palette().brush(window_->backgroundRole()));
    }
    static_cast<QObject*>(window_)->event(paint); // the window paints itself
    QPainter painter(window_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setClipRegion(QRegion(dirty) - shape_);
    painter.fillRect(dirty, Qt::transparent);
}

} // namespace platform::chrome
