#include "platform/cursors/ClassCursors.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace platform::cursors {
namespace {

// One window class: its widgets and its cursor.  An animated cursor has
// one timer for the whole class, so all its widgets show the same frame.
// It steps only while somebody can see it (see seen()); otherwise it rests
// on its frame and goes on from there when the pointer comes back.
struct ClassState {
    std::vector<QWidget*> widgets;
    CursorHandle cursor;
    std::vector<QCursor> shapes; // one per frame, built when the cursor is set
    std::size_t frame = 0;
    QPointer<QTimer> timer;
};

// Follows the pointer into and out of the registered widgets.
class PointerWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

struct Registry {
    QHash<QString, ClassState> classes;
    QHash<const QWidget*, QString> classOfWidget;
    QSet<const QWidget*> underPointer;
    QPointer<PointerWatch> watch;
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
            registry().underPointer.clear();
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

// A class cursor is on screen while the pointer is over one of its widgets
// (a child without a cursor of its own shows its parent's, and the parent
// counts as under the pointer too), or while a button is held: a drag keeps
// the cursor of the widget it started on wherever the pointer goes.
bool seen(const ClassState& state)
{
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        return true;
    const QSet<const QWidget*>& under = registry().underPointer;
    return std::any_of(state.widgets.begin(), state.widgets.end(),
                       [&under](const QWidget* w) { return under.contains(w); });
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
            // Unseen, it rests here; the next Enter goes on from this frame.
            if (s.shapes.size() < 2 || !seen(s))
                return;
            s.frame = (s.frame + 1) % s.shapes.size();
            showFrame(s);
            scheduleNextFrame(className);
        });
    }
    state.timer->start(std::max(1, state.cursor->frames[state.frame].displayMs));
}

void resumeIfSeen(const QString& className)
{
    ClassState& state = registry().classes[className];
    if (state.shapes.size() < 2 || (state.timer && state.timer->isActive()) || !seen(state))
        return;
    scheduleNextFrame(className);
}

bool PointerWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        Registry& reg = registry();
        const auto* widget = static_cast<const QWidget*>(watched);
        if (event->type() == QEvent::Leave) {
            reg.underPointer.remove(widget);
        } else {
            reg.underPointer.insert(widget);
            const auto found = reg.classOfWidget.constFind(widget);
            if (found != reg.classOfWidget.constEnd())
                resumeIfSeen(*found);
        }
    }
    return false;
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
        QObject::connect(widget, &QObject::destroyed, [widget] {
            unregister(widget);
            registry().underPointer.remove(widget);
        });
        if (!reg.watch) // one for all widgets; it ends with the application
            reg.watch = new PointerWatch(QCoreApplication::instance());
        widget->installEventFilter(reg.watch);
        if (widget->underMouse()) // registered with the pointer already on it
            reg.underPointer.insert(widget);
    }
    reg.classOfWidget.insert(widget, className);
    ClassState& state = reg.classes[className];
    state.widgets.push_back(widget);
    if (!state.shapes.empty())
        widget->setCursor(state.shapes[state.frame % state.shapes.size()]);
    resumeIfSeen(className);
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
    resumeIfSeen(className);
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

bool isAnimating(const QString& className)
{
    const auto found = registry().classes.constFind(className);
    return found != registry().classes.constEnd() && found->timer && found->timer->isActive();
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
