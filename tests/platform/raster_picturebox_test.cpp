#include "platform/raster/PictureBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace {

using platform::PictureBox;
using Points = std::set<std::pair<int, int>>;

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

Points inkOf(const QImage& image)
{
    Points points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                points.insert({x, y});
    return points;
}

struct LineCase {
    const char* name;
    int x1, y1, x2, y2;
    Points expected;
};

TEST(PictureBoxLine, DrawsEveryPixelButTheEndPoint)
{
    const LineCase cases[] = {
        {"horizontal", 1, 2, 5, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
        {"horizontal leftwards", 5, 2, 1, 2, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
        {"vertical", 3, 0, 3, 3, {{3, 0}, {3, 1}, {3, 2}}},
        {"vertical upwards", 3, 3, 3, 0, {{3, 3}, {3, 2}, {3, 1}}},
        {"diagonal", 0, 0, 4, 4, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"shallow", 0, 0, 6, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},
        {"steep", 0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}}},
        {"zero length", 4, 4, 4, 4, {}},
        {"one pixel", 4, 4, 5, 4, {{4, 4}}},
        {"clipped on the left", -3, 1, 2, 1, {{0, 1}, {1, 1}}},
        {"clipped below", 2, 5, 2, 12, {{2, 5}, {2, 6}, {2, 7}}},
        {"clipped diagonal", -2, -2, 2, 2, {{0, 0}, {1, 1}}},
        {"wholly outside", -5, -1, 20, -1, {}},
        {"far away", -100000, 900000, 100000, 900001, {}},
    };
    PictureBox box;
    box.resize(8, 8);
    for (const LineCase& c : cases) {
        box.cls();
        box.line(c.x1, c.y1, c.x2, c.y2, Qt::black);
        EXPECT_EQ(inkOf(box.image()), c.expected) << c.name;
    }
}

TEST(PictureBoxLine, LongLinesCoverOnePixelPerStep)
{
    PictureBox box;
    box.resize(100, 40);
    box.line(3, 5, 90, 31, Qt::red);
    const Points ink = inkOf(box.image());
    EXPECT_EQ(ink.size(), 87u);
    std::set<int> columns;
    for (const auto& p : ink)
        columns.insert(p.first);
    EXPECT_EQ(columns.size(), 87u);
    EXPECT_TRUE(ink.count({3, 5}));
    EXPECT_FALSE(ink.count({90, 31}));
    EXPECT_EQ(box.image().pixel(3, 5), qRgb(255, 0, 0));
}

TEST(PictureBox, PSetClsAndBackColour)
{
    PictureBox box;
    box.resize(5, 4);
    box.pset(2, 3, Qt::black);
    box.pset(-1, 0, Qt::black);
    box.pset(5, 0, Qt::black);
    EXPECT_EQ(inkOf(box.image()), (Points{{2, 3}}));
    box.setForeColor(Qt::blue);
    box.line(0, 0, 2, 0);
    EXPECT_EQ(box.image().pixel(1, 0), qRgb(0, 0, 255));
    box.cls();
    EXPECT_TRUE(inkOf(box.image()).empty());
    box.setBackColor(QColor(128, 128, 128));
    EXPECT_EQ(box.image().pixel(4, 3), qRgb(128, 128, 128));
    EXPECT_EQ(box.scaleWidth(), 5);
    EXPECT_EQ(box.scaleHeight(), 4);
    EXPECT_EQ(box.image().format(), QImage::Format_RGB32);
}

TEST(PictureBox, ResizeKeepsTheDrawing)
{
    PictureBox box;
    box.resize(6, 6);
    box.pset(1, 1, Qt::black);
    box.pset(5, 5, Qt::black);
    box.resize(10, 8);
    EXPECT_EQ(box.image().size(), QSize(10, 8));
    EXPECT_EQ(inkOf(box.image()), (Points{{1, 1}, {5, 5}}));
    // Shrinking loses what falls outside; growing again brings back colour.
    box.resize(4, 4);
    EXPECT_EQ(box.image().size(), QSize(4, 4));
    box.resize(10, 8);
    EXPECT_EQ(inkOf(box.image()), (Points{{1, 1}}));
}

TEST(PictureBox, PaintShowsTheImage)
{
    PictureBox box;
    box.resize(12, 9);
    box.setBackColor(QColor(0, 85, 255));
    box.pset(3, 4, Qt::black);
    const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(12, 9));
    EXPECT_EQ(shown.pixel(3, 4), kBlack);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 85, 255));
    EXPECT_EQ(shown.pixel(11, 8), qRgb(0, 85, 255));
}

TEST(PictureBox, ReEmitsMouseEventsInPixels)
{
    PictureBox box;
    box.resize(50, 40);
    std::vector<std::string> seen;
    QObject::connect(&box, &PictureBox::mouseDown,
                     [&](Qt::MouseButton b, Qt::MouseButtons held, Qt::KeyboardModifiers mods, double x, double y) {
                         seen.push_back("down " + std::to_string(int(b)) + " " + std::to_string(int(held)) + " "
                                        + std::to_string(mods == Qt::ShiftModifier) + " " + std::to_string(int(x))
                                        + "," + std::to_string(int(y)));
                     });
    QObject::connect(&box, &PictureBox::mouseMove,
                     [&](Qt::MouseButtons held, Qt::KeyboardModifiers, double x, double y) {
                         seen.push_back("move " + std::to_string(int(held)) + " " + std::to_string(int(x)) + ","
                                        + std::to_string(int(y)));
                     });
    QObject::connect(&box, &PictureBox::mouseUp,
                     [&](Qt::MouseButton b, Qt::MouseButtons held, Qt::KeyboardModifiers, double x, double y) {
                         seen.push_back("up " + std::to_string(int(b)) + " " + std::to_string(int(held)) + " "
                                        + std::to_string(int(x)) + "," + std::to_string(int(y)));
                     });
    QObject::connect(&box, &PictureBox::clicked, [&] { seen.push_back("click"); });

    auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
                    Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent event(type, at, box.mapToGlobal(at), button, held, mods);
        QApplication::sendEvent(&box, &event);
    };
    send(QEvent::MouseButtonPress, {12, 7}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseMove, {20, 9}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {21, 9}, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, {5, 5}, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {70, 5}, Qt::LeftButton, Qt::NoButton); // released outside: no click
    const std::vector<std::string> expected = {
        "down 1 1 1 12,7", "move 1 20,9", "up 1 0 21,9", "click", "down 2 2 0 5,5", "up 2 0 5,5",
        "down 1 1 0 5,5",  "up 1 0 70,5",
    };
    EXPECT_EQ(seen, expected);
}

} // namespace
