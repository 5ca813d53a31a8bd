#pragma once
#include <QString>

#include "platform/cursors/CursorFile.h"

class QPainter;
class QWidget;

namespace platform::cursors {

// Class cursors: widgets are registered under a class name; giving a class a
// cursor shows it on every widget of that class.  Animated cursors play their
// frames while the pointer is over a widget of the class or a button is held,
// and rest on their frame where nobody can see them.  A null handle leaves the
// class with no cursor of its own (the widgets show the default arrow).
// Widgets unregister themselves when destroyed.
void registerWidget(QWidget* widget, const QString& className);
QString classOf(const QWidget* widget); // the registered class, or the widget's own Qt class name
void setClassCursor(const QString& className, const CursorHandle& cursor);
void setClassCursorOf(QWidget* widget, const CursorHandle& cursor); // the class of `widget`
CursorHandle classCursor(const QString& className);
// Whether the class's animated cursor is stepping its frames now.
bool isAnimating(const QString& className);

// Loads `path` and makes it the class cursor of `widget`'s class; returns the
// handle (null when the file is missing or broken).
CursorHandle setCursorFromFile(const QString& path, QWidget* widget);

// Draws frame `frame` (wrapped to the frame count) of a cursor with its top
// left at `topLeft`, at its own size.  Nothing for a null handle.
void drawCursorFrame(QPainter& painter, const QPoint& topLeft, const CursorHandle& cursor, int frame);
int frameCount(const CursorHandle& cursor);

} // namespace platform::cursors
