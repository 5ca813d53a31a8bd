#pragma once
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Mouse input delivered straight to a widget, as the window system would.
namespace mouse {

inline void send(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, mods);
    QApplication::sendEvent(w, &event);
}
inline void press(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {})
{
    send(w, QEvent::MouseButtonPress, b, m, pos);
}
inline void release(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {})
{
    send(w, QEvent::MouseButtonRelease, b, m, pos);
}
inline void click(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {})
{
    press(w, pos, b, m);
    release(w, pos, b, m);
}
inline void doubleClick(QWidget* w, QPoint pos)
{
    click(w, pos);
    send(w, QEvent::MouseButtonDblClick, Qt::LeftButton, {}, pos);
    release(w, pos);
}

} // namespace mouse
