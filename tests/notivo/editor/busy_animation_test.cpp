// The busy animation's tick while nothing plays: over a whole cycle of 160
// ticks the screen is asked to show the new frame's cell of the busy picture
// box and nothing else.
#include <QPaintEvent>
#include <QTest>

#include "tests/notivo/editor/play_window_fixture.h"

namespace notivo::playtest {
namespace {

// Every paint of any widget, with the region Qt asked it to paint.
class PaintLog : public QObject {
public:
    struct Paint {
        QObject* widget;
        QRegion region;
    };
    std::vector<Paint> paints;

    std::string names() const
    {
        std::string all;
        for (const Paint& paint : paints)
            all += paint.widget->objectName().toStdString() + ' ';
        return all;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            paints.push_back({watched, static_cast<QPaintEvent*>(event)->region()});
        return false;
    }
};

class BusyAnimationTicks : public EditorRig {};

TEST_F(BusyAnimationTicks, EachTickPaintsOnlyTheCellOfItsFrame)
{
    const std::vector<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                       qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(255, 0, 255)};
    auto busy = std::make_shared<platform::cursors::CursorImage>();
    for (QRgb colour : colours) {
        QImage frame(32, 32, QImage::Format_ARGB32);
        frame.fill(colour);
        busy->frames.push_back({frame, QPoint(0, 0), 30});
    }
    probe().setBusyCursor(busy);
    e().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e()));
    e().Timer2_Timer(); // the first tick also draws a title button
    QApplication::processEvents(); // the first paint of the whole window

    PaintLog log;
    QApplication::instance()->installEventFilter(&log);
    // The cell at (32, 6), cut by the box's 26 pixel height.
    const QRegion cell(QRect(32, 6, 32, 20));
    for (int tick = 0; tick < 160; ++tick) {
        SCOPED_TRACE(tick);
        log.paints.clear();
        e().Timer2_Timer();
        QApplication::processEvents();
        ASSERT_EQ(log.paints.size(), 1u) << log.names();
        EXPECT_EQ(log.paints[0].widget, e().Picture5);
        EXPECT_EQ(log.paints[0].region, cell);
        const QRgb shown = colours[std::size_t(probe().animFrame() % 6)];
        EXPECT_EQ(e().Picture5->image().pixel(33, 7) | 0xFF000000u, shown);
        EXPECT_EQ(e().Picture5->image().pixel(63, 25) | 0xFF000000u, shown);
        // Left of the cell the box keeps its back colour.
        EXPECT_EQ(e().Picture5->image().pixel(31, 7) | 0xFF000000u, e().Picture5->backColor().rgb() | 0xFF000000u);
    }
    QApplication::instance()->removeEventFilter(&log);
}

} // namespace
} // namespace notivo::playtest
