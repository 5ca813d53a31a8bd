#include "platform/cursors/ClassCursors.h"

#include <QCoreApplication>
#include <QCursor>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace platform::cursors {
namespace {

// One window class: its widgets and its cursor.  An animated cursor has
// one timer for the whole class, so all its widgets show the same frame.
struct ClassState {
    std::vector<QWidget*> widgets;
    CursorHandle cursor;
    std::vector<QCursor> shapes; // one per frame, built when the cursor is set
    std::size_t frame = 0;
    QPointer<QTimer> timer;
};

struct Registry {
    QHash<QString, ClassState> classes;
    QHash<const QWidget*, QString> classOfWidget;
};

Registry& registry()
{
    static Registry instance;
    // Cursor pixmaps must go while the window system is still there, not
    // with the static objects after the application has ended.
    static const bool releasedAtExit = [] {
        qAddPostRoutine([] {
            registry().classes.clear();
            registry().classOfWidget.clear();
        });
        return true;
    }();
    (void)releasedAtExit;
    return instance;
}

void showFrame(ClassState& state)
{
    if (state.shapes.empty()) {
        for (QWidget* widget : state.widgets)
            widget->unsetCursor();
        return;
    }
    const QCursor& shape = state.shapes[state.frame % state.shapes.size()];
    for (QWidget* widget : state.widgets)
        widget->setCursor(shape);
}

void stopAnimation(ClassState& state)
{
    if (!state.timer)
        return;
    // Stopped, it cannot fire again; deleted later in case this runs from
    // inside its own timeout.
    state.timer->stop();
    state.timer->deleteLater();
    state.timer = nullptr;
}

void scheduleNextFrame(const QString& className)
{
    ClassState& state = registry().classes[className];
    if (!state.timer) {
        // Parented to the application so it cannot outlive the event loop.
        state.timer = new QTimer(QCoreApplication::instance());
        state.timer->setSingleShot(true);
        state.timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(state.timer.data(), &QTimer::timeout, [className] {
            ClassState& s = registry().classes[className];
            if (s.shapes.size() < 2)
                return;
            s.frame = (s.frame + 1) % s.shapes.size();
            showFrame(s);
            scheduleNextFrame(className);
        });
    }
    state.timer->start(std::max(1, state.cursor->frames[state.frame].displayMs));
}

void unregister(const QWidget* widget)
{
    Registry& reg = registry();
    const auto found = reg.classOfWidget.constFind(widget);
    if (found == reg.classOfWidget.constEnd())
        return;
    ClassState& state = reg.classes[*found];
    std::erase(state.widgets, widget);
    reg.classOfWidget.erase(found);
}

} // namespace

void registerWidget(QWidget* widget, const QString& className)
{
    if (!widget)
        return;
    Registry& reg = registry();
    const auto found = reg.classOfWidget.constFind(widget);
    if (found != reg.classOfWidget.constEnd()) {
        if (*found == className)
            return;
        unregister(widget);
    } else {
        QObject::connect(widget, &QObject::destroyed, [widget] { unregister(widget); });
    }
    reg.classOfWidget.insert(widget, className);
    ClassState& state = reg.classes[className];
    state.widgets.push_back(widget);
    if (!state.shapes.empty())
        widget->setCursor(state.shapes[state.frame % state.shapes.size()]);
}

QString classOf(const QWidget* widget)
{
    if (!widget)
        return {};
    const auto found = registry().classOfWidget.constFind(widget);
    if (found != registry().classOfWidget.constEnd())
        return *found;
    return QString::fromLatin1(widget->metaObject()->className());
}

void setClassCursor(const QString& className, const CursorHandle& cursor)
{
    ClassState& state = registry().classes[className];
    stopAnimation(state);
    state.cursor = cursor;
    state.frame = 0;
    state.shapes.clear();
    if (cursor) {
        state.shapes.reserve(cursor->frames.size());
        for (const CursorFrame& frame : cursor->frames)
            state.shapes.emplace_back(QPixmap::fromImage(frame.image), frame.hotSpot.x(), frame.hotSpot.y());
    }
    showFrame(state);
    if (cursor && cursor->animated())
        scheduleNextFrame(className);
}

void setClassCursorOf(QWidget* widget, const CursorHandle& cursor)
{
    if (!widget)
        return;
    // A widget belongs to its own class even when nobody registered it.
    const QString className = classOf(widget);
    registerWidget(widget, className);
    setClassCursor(className, cursor);
}

CursorHandle classCursor(const QString& className)
{
    const auto found = registry().classes.constFind(className);
    return found == registry().classes.constEnd() ? nullptr : found->cursor;
}

CursorHandle setCursorFromFile(const QString& path, QWidget* widget)
{
    CursorHandle cursor = loadCursorFromFile(path);
    setClassCursorOf(widget, cursor);
    return cursor;
}

int frameCount(const CursorHandle& cursor) { return cursor ? int(cursor->frames.size()) : 0; }

void drawCursorFrame(QPainter& painter, const QPoint& topLeft, const CursorHandle& cursor, int frame)
{
    const int count = frameCount(cursor);
    if (count == 0)
        return;
    const int index = ((frame % count) + count) % count;
    painter.drawImage(topLeft, cursor->frames[std::size_t(index)].image);
}

} // namespace platform::cursors
