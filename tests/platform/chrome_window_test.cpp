#include "platform/chrome/WindowChrome.h"

#include "platform/chrome/FloatingSize.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using namespace platform::chrome;

struct Membership {
    int x, y;
    bool inside;
};

TEST(WindowChrome, RectangleExcludesItsRightAndBottomEdges)
{
    const QRegion region = rectRegion(1, 20, 537, 317);
    const Membership cases[] = {
        {1, 20, true}, {536, 316, true}, {537, 316, false}, {536, 317, false}, {0, 20, false}, {1, 19, false},
    };
    for (const Membership& c : cases)
        EXPECT_EQ(region.contains(QPoint(c.x, c.y)), c.inside) << c.x << "," << c.y;
    EXPECT_EQ(rectRegion(537, 317, 1, 20), region);
    EXPECT_TRUE(rectRegion(5, 5, 5, 9).isEmpty());
}

TEST(WindowChrome, RoundRectangleCutsItsCorners)
{
    // The editor's title band: (1, 1)-(538, 28) with 15 x 15 corners.
    const QRegion band = roundRectRegion(1, 1, 538, 28, 15, 15);
    const Membership cases[] = {
        {1, 1, false},    {5, 1, false},   {6, 1, true},     {532, 1, true}, {533, 1, false}, {537, 1, false},
        {1, 8, true},     {537, 8, true},  {538, 8, false},  {1, 27, false}, {6, 27, true},   {537, 27, false},
        {269, 1, true},   {269, 27, true}, {269, 28, false}, {269, 0, false}, {3, 3, true},   {2, 3, false},
    };
    for (const Membership& c : cases)
        EXPECT_EQ(band.contains(QPoint(c.x, c.y)), c.inside) << c.x << "," << c.y;
    EXPECT_EQ(band.boundingRect(), QRect(1, 1, 537, 27));

    // Mirror symmetric left to right and top to bottom.
    for (int y = 1; y < 28; ++y)
        for (int x = 1; x < 538; ++x) {
            const bool here = band.contains(QPoint(x, y));
            ASSERT_EQ(here, band.contains(QPoint(538 - (x - 1) - 1, y))) << x << "," << y;
            ASSERT_EQ(here, band.contains(QPoint(x, 28 - (y - 1) - 1))) << x << "," << y;
        }
}

TEST(WindowChrome, RoundRectangleLimits)
{
    // No rounding gives the plain rectangle; too large corners give an ellipse.
    EXPECT_EQ(roundRectRegion(0, 0, 10, 6, 0, 0), rectRegion(0, 0, 10, 6));
    const QRegion ellipse = roundRectRegion(0, 0, 10, 10, 40, 40);
    EXPECT_TRUE(ellipse.contains(QPoint(5, 0)));
    EXPECT_TRUE(ellipse.contains(QPoint(0, 5)));
    EXPECT_FALSE(ellipse.contains(QPoint(0, 1)));
    EXPECT_FALSE(ellipse.contains(QPoint(9, 9)));
    EXPECT_TRUE(roundRectRegion(3, 3, 3, 9, 5, 5).isEmpty());
}

TEST(WindowChrome, ShapeReplacesTheEarlierOne)
{
    QWidget window;
    window.resize(100, 60);
    const QRegion first = roundRectRegion(1, 1, 100, 28, 15, 15) | rectRegion(1, 20, 99, 59);
    setWindowShape(&window, first);
    EXPECT_EQ(window.mask(), first);
    const QRegion second = rectRegion(0, 0, 50, 50);
    setWindowShape(&window, second);
    EXPECT_EQ(window.mask(), second);
}

void sendMouse(QWidget& target, QEvent::Type type, QPoint global, Qt::MouseButtons held)
{
    const QPointF local = target.mapFromGlobal(QPointF(global));
    QMouseEvent event(type, local, QPointF(global), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

TEST(WindowChrome, DragFollowsTheMouseUntilRelease)
{
    QWidget window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setGeometry(100, 80, 200, 120);
    QWidget label(&window);
    label.setGeometry(10, 5, 50, 20);
    window.show();
    const QPoint press(130, 95);
    startWindowDrag(&label, press);
    sendMouse(label, QEvent::MouseMove, press + QPoint(30, 12), Qt::LeftButton);
    EXPECT_EQ(window.pos(), QPoint(130, 92));
    sendMouse(label, QEvent::MouseMove, press + QPoint(-5, 2), Qt::LeftButton);
    EXPECT_EQ(window.pos(), QPoint(95, 82));
    sendMouse(label, QEvent::MouseButtonRelease, press + QPoint(-5, 2), Qt::NoButton);
    sendMouse(label, QEvent::MouseMove, press + QPoint(50, 50), Qt::NoButton);
    EXPECT_EQ(window.pos(), QPoint(95, 82));
}

TEST(WindowChrome, ResizeFromTheTopEdgesKeepsTheBottom)
{
    const struct {
        ResizeEdge edge;
        QPoint delta;
        QRect expected;
    } cases[] = {
        {ResizeEdge::Top, {7, -10}, QRect(100, 70, 200, 130)},
        {ResizeEdge::TopLeft, {-20, 15}, QRect(80, 95, 220, 105)},
        {ResizeEdge::TopRight, {25, 5}, QRect(100, 85, 225, 115)},
        {ResizeEdge::Top, {0, 500}, QRect(100, 170, 200, 30)}, // stops at the minimum height
    };
    for (const auto& c : cases) {
        QWidget window;
        window.setWindowFlag(Qt::FramelessWindowHint);
        window.setMinimumSize(40, 30);
        window.setGeometry(100, 80, 200, 120);
        window.show();
        const QPoint press(150, 80);
        startWindowResize(&window, c.edge, press);
        sendMouse(window, QEvent::MouseMove, press + c.delta, Qt::LeftButton);
        EXPECT_EQ(window.geometry(), c.expected) << c.delta.x() << "," << c.delta.y();
        sendMouse(window, QEvent::MouseButtonRelease, press + c.delta, Qt::NoButton);
    }
}

// A tiling window manager floats a window whose size it is told is fixed;
// a resize by the window's own chrome gives it its limits back.
TEST(WindowChrome, AWindowIsFixedInSizeUntilItsChromeResizesIt)
{
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setMinimumSize(32, 10);
    window.resize(538, 318);
    floatAtOwnSize(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.minimumSize(), QSize(538, 318));
    EXPECT_EQ(window.maximumSize(), QSize(538, 318));

    startWindowResize(&window, ResizeEdge::Top, window.mapToGlobal(QPoint(100, 0)));
    EXPECT_EQ(window.minimumSize(), QSize(32, 10));
    EXPECT_EQ(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    EXPECT_EQ(window.size(), QSize(538, 318));
}

} // namespace
