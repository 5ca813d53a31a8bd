#include "platform/cursors/ClassCursors.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace platform::cursors;

// A cursor whose frames differ in colour and hot spot, so the frame shown
// can be told apart.
CursorHandle makeCursor(int frames, int displayMs)
{
    auto cursor = std::make_shared<CursorImage>();
    for (int i = 0; i < frames; ++i) {
        CursorFrame frame;
        frame.image = QImage(8, 8, QImage::Format_ARGB32);
        frame.image.fill(qRgba(40 * i, 10, 200, 255));
        frame.image.setPixel(0, 0, 0); // one transparent corner
        frame.hotSpot = QPoint(i, i + 1);
        frame.displayMs = displayMs;
        cursor->frames.push_back(frame);
    }
    return cursor;
}

// A custom cursor is a bitmap; without one a window shows the arrow.
bool hasOwnCursor(const QWidget& widget) { return widget.cursor().shape() == Qt::BitmapCursor; }

// Runs the event loop until `done` holds or the deadline passes.
template <typename Done>
bool waitFor(Done done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

TEST(ClassCursors, AppliesToEveryWidgetOfTheClassOnly)
{
    QWidget first, second, other;
    registerWidget(&first, QStringLiteral("Palette"));
    registerWidget(&second, QStringLiteral("Palette"));
    registerWidget(&other, QStringLiteral("Staff"));
    const CursorHandle cursor = makeCursor(1, 0);
    setClassCursor(QStringLiteral("Palette"), cursor);
    EXPECT_EQ(classCursor(QStringLiteral("Palette")), cursor);
    for (QWidget* w : {&first, &second}) {
        EXPECT_EQ(w->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(w->cursor().hotSpot(), QPoint(0, 1));
    }
    EXPECT_FALSE(hasOwnCursor(other));

    // Joining the class later shows its cursor at once.
    QWidget late;
    registerWidget(&late, QStringLiteral("Palette"));
    EXPECT_EQ(late.cursor().shape(), Qt::BitmapCursor);

    // A null handle leaves the class with the default cursor.
    setClassCursor(QStringLiteral("Palette"), nullptr);
    EXPECT_FALSE(classCursor(QStringLiteral("Palette")));
    for (QWidget* w : {&first, &second, &late})
        EXPECT_FALSE(hasOwnCursor(*w));
}

TEST(ClassCursors, DestroyedWidgetsLeaveTheClass)
{
    QWidget kept;
    registerWidget(&kept, QStringLiteral("Transient"));
    {
        QWidget gone;
        registerWidget(&gone, QStringLiteral("Transient"));
        setClassCursor(QStringLiteral("Transient"), makeCursor(1, 0));
    }
    // The destroyed widget must not be touched (AddressSanitizer checks).
    setClassCursor(QStringLiteral("Transient"), makeCursor(2, 5));
    EXPECT_EQ(kept.cursor().shape(), Qt::BitmapCursor);
    setClassCursor(QStringLiteral("Transient"), nullptr);
}

TEST(ClassCursors, ClassOfFallsBackToTheQtClass)
{
    QPushButton button;
    QLabel label;
    EXPECT_EQ(classOf(&button), QStringLiteral("QPushButton"));
    registerWidget(&label, QStringLiteral("Title"));
    EXPECT_EQ(classOf(&label), QStringLiteral("Title"));
    // Moving a widget to another class takes it out of the first.
    registerWidget(&label, QStringLiteral("Caption"));
    setClassCursor(QStringLiteral("Title"), makeCursor(1, 0));
    EXPECT_FALSE(hasOwnCursor(label));
    setClassCursorOf(&label, makeCursor(1, 0));
    EXPECT_TRUE(hasOwnCursor(label));
    EXPECT_TRUE(classCursor(QStringLiteral("Caption")));
    setClassCursorOf(&button, makeCursor(1, 0));
    EXPECT_TRUE(classCursor(QStringLiteral("QPushButton")));
    setClassCursor(QStringLiteral("Title"), nullptr);
    setClassCursor(QStringLiteral("Caption"), nullptr);
    setClassCursor(QStringLiteral("QPushButton"), nullptr);
}

void pointer(QWidget& widget, QEvent::Type type)
{
    QEvent event(type);
    QCoreApplication::sendEvent(&widget, &event);
}

TEST(ClassCursors, AnimatedCursorsPlayTheirFramesUntilReplaced)
{
    QWidget a, b;
    registerWidget(&a, QStringLiteral("Busy"));
    registerWidget(&b, QStringLiteral("Busy"));
    setClassCursor(QStringLiteral("Busy"), makeCursor(3, 15));
    EXPECT_EQ(a.cursor().hotSpot(), QPoint(0, 1));
    pointer(a, QEvent::Enter);
    EXPECT_TRUE(waitFor([&] { return a.cursor().hotSpot() == QPoint(1, 2); }, 2000));
    EXPECT_TRUE(waitFor([&] { return a.cursor().hotSpot() == QPoint(2, 3); }, 2000));
    EXPECT_TRUE(waitFor([&] { return a.cursor().hotSpot() == QPoint(0, 1); }, 2000)); // wraps around
    EXPECT_EQ(b.cursor().hotSpot(), a.cursor().hotSpot());

    // A still cursor stops the animation.
    setClassCursor(QStringLiteral("Busy"), makeCursor(1, 0));
    EXPECT_FALSE(isAnimating(QStringLiteral("Busy")));
    EXPECT_FALSE(waitFor([&] { return a.cursor().hotSpot() != QPoint(0, 1); }, 150));
    pointer(a, QEvent::Leave);
    setClassCursor(QStringLiteral("Busy"), nullptr);
}

// An animated cursor steps only while somebody can see it: the pointer on a
// widget of its class (or a button held, below).  Unseen, its timer stops at
// the next frame and the frame rests; the next Enter goes on from there.
TEST(ClassCursors, AnimationRunsOnlyWhileThePointerIsOverTheClass)
{
    QWidget first, second, stranger;
    registerWidget(&first, QStringLiteral("Spinner"));
    registerWidget(&second, QStringLiteral("Spinner"));
    registerWidget(&stranger, QStringLiteral("Plain"));
    setClassCursor(QStringLiteral("Spinner"), makeCursor(4, 15));
    const auto animating = [] { return isAnimating(QStringLiteral("Spinner")); };
    const auto frame = [&] { return first.cursor().hotSpot().x(); };

    const struct {
        const char* step;
        QWidget* widget;
        QEvent::Type event;
        bool runs;
    } steps[] = {
        {"set while nobody looks", nullptr, QEvent::None, false},
        {"pointer on another class", &stranger, QEvent::Enter, false},
        {"pointer on the class", &first, QEvent::Enter, true},
        {"on a second widget of it too", &second, QEvent::Enter, true},
        {"off the first, still on the second", &first, QEvent::Leave, true},
        {"off the class", &second, QEvent::Leave, false},
        {"back on the class", &second, QEvent::Enter, true},
        {"off again", &second, QEvent::Leave, false},
    };
    for (const auto& s : steps) {
        if (s.widget)
            pointer(*s.widget, s.event);
        const int before = frame();
        if (s.runs) {
            // Goes on from the frame it rested on, one frame at a time.
            EXPECT_TRUE(animating()) << s.step;
            EXPECT_TRUE(waitFor([&] { return frame() == (before + 1) % 4; }, 2000)) << s.step;
        } else {
            // At most the frame already due, then the timer stops for good.
            EXPECT_TRUE(waitFor([&] { return !animating(); }, 2000)) << s.step;
            const int rested = frame();
            EXPECT_LE((rested - before + 4) % 4, 1) << s.step;
            EXPECT_FALSE(waitFor([&] { return animating() || frame() != rested; }, 100)) << s.step;
        }
        EXPECT_EQ(second.cursor().hotSpot(), first.cursor().hotSpot()) << s.step;
    }
    EXPECT_FALSE(hasOwnCursor(stranger));

    // Joining the class under the pointer, or a new cursor set while the
    // pointer is there, starts it too.
    pointer(stranger, QEvent::Enter);
    registerWidget(&stranger, QStringLiteral("Spinner"));
    EXPECT_TRUE(animating());
    setClassCursor(QStringLiteral("Spinner"), makeCursor(2, 15));
    EXPECT_TRUE(animating());
    EXPECT_TRUE(waitFor([&] { return frame() == 1; }, 2000));
    pointer(stranger, QEvent::Leave);
    EXPECT_TRUE(waitFor([&] { return !animating(); }, 2000));
    setClassCursor(QStringLiteral("Spinner"), nullptr);
}

// A drag keeps the cursor of the widget it began on, even off that widget.
TEST(ClassCursors, AnimationRunsWhileAButtonIsHeld)
{
    QWidget widget;
    widget.resize(40, 40);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    registerWidget(&widget, QStringLiteral("Dragged"));
    setClassCursor(QStringLiteral("Dragged"), makeCursor(3, 15));
    pointer(widget, QEvent::Enter);
    QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_NE(QGuiApplication::mouseButtons(), Qt::NoButton);
    pointer(widget, QEvent::Leave);
    const QPoint left = widget.cursor().hotSpot();
    EXPECT_TRUE(waitFor([&] { return widget.cursor().hotSpot() != left; }, 2000));
    EXPECT_TRUE(isAnimating(QStringLiteral("Dragged")));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(waitFor([] { return !isAnimating(QStringLiteral("Dragged")); }, 2000));
    setClassCursor(QStringLiteral("Dragged"), nullptr);
}

TEST(ClassCursors, MissingFileInstallsNoCursor)
{
    QWidget widget;
    registerWidget(&widget, QStringLiteral("Canvas"));
    setClassCursor(QStringLiteral("Canvas"), makeCursor(1, 0));
    EXPECT_FALSE(setCursorFromFile(QStringLiteral("/nonexistent/Erace.cur"), &widget));
    EXPECT_FALSE(hasOwnCursor(widget));
}

TEST(ClassCursors, DrawsOneFrameWrappedToTheCount)
{
    const CursorHandle cursor = makeCursor(3, 10);
    EXPECT_EQ(frameCount(cursor), 3);
    EXPECT_EQ(frameCount(nullptr), 0);
    const struct {
        int frame, shown;
    } cases[] = {{0, 0}, {2, 2}, {4, 1}, {-1, 2}};
    for (const auto& c : cases) {
        QImage canvas(20, 20, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            drawCursorFrame(painter, QPoint(5, 6), cursor, c.frame);
            drawCursorFrame(painter, QPoint(0, 0), nullptr, c.frame);
        }
        EXPECT_EQ(canvas.pixel(6, 7), qRgb(40 * c.shown, 10, 200)) << c.frame;
        EXPECT_EQ(canvas.pixel(5, 6), qRgb(255, 255, 255)) << "transparent corner";
        EXPECT_EQ(canvas.pixel(13, 14), qRgb(255, 255, 255)) << "beyond the frame";
        EXPECT_EQ(canvas.pixel(0, 0), qRgb(255, 255, 255));
    }
}

} // namespace
