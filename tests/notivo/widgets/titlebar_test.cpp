#include <gtest/gtest.h>

#include <vector>

#include "notivo/widgets/XPTitlebar.h"
#include "MouseInput.h"

using namespace notivo;
using Part = XPTitlebar::Part;
using Action = XPTitlebar::WindowAction;

namespace {

struct Recorded {
    QWidget* window;
    Action action;
};

class TitlebarFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(538, 318);
        bar = new XPTitlebar(&window);
        bar->setGeometry(0, 0, 538, 29);
        bar->startWindowAction = [this](QWidget* w, Action a, const QPoint&) { actions.push_back({w, a}); };
        window.show();
    }
    // Presses on the piece of the bar under `pos`, as the pointer would.
    void pressAt(QPoint pos)
    {
        QWidget* target = bar->childAt(pos);
        ASSERT_NE(target, nullptr);
        mouse::click(target, target->mapFrom(bar, pos));
    }

    QWidget window;
    XPTitlebar* bar = nullptr;
    std::vector<Recorded> actions;
};

} // namespace

TEST_F(TitlebarFixture, PiecesSitWhereTheBarIsDrawn)
{
    struct Case { QPoint at; Part part; };
    const Case cases[] = {
        {{200, 15}, Part::Middle},        {{200, 6}, Part::TopStrip},      {{200, 7}, Part::Middle},
        {{10, 15}, Part::LeftCap},        {{0, 10}, Part::LeftCornerSide}, {{6, 28}, Part::LeftCornerSide},
        {{7, 28}, Part::LeftCap},         {{19, 6}, Part::LeftCornerTop},  {{19, 7}, Part::LeftCap},
        {{521, 6}, Part::RightCornerTop}, {{528, 20}, Part::RightCap},     {{529, 20}, Part::RightCornerSide},
        {{537, 28}, Part::RightCornerSide}, {{520, 6}, Part::TopStrip},    {{538, 5}, Part::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bar->partAt(c.at), c.part) << c.at.x() << "," << c.at.y();
}

TEST_F(TitlebarFixture, PressesMoveOrResizeTheWindow)
{
    struct Case { QPoint at; bool sizeable; std::vector<Action> expected; };
    const Case cases[] = {
        {{200, 15}, true, {Action::Move}},          {{10, 15}, true, {Action::Move}},
        {{530, 15}, false, {}},                     {{525, 15}, true, {Action::Move}},
        {{200, 3}, true, {Action::ResizeTop}},      {{200, 3}, false, {}},
        {{2, 2}, true, {Action::ResizeTopLeft}},    {{3, 20}, true, {Action::ResizeTopLeft}},
        {{530, 2}, true, {Action::ResizeTopRight}}, {{533, 25}, true, {Action::ResizeTopRight}},
        {{2, 2}, false, {}},                        {{533, 25}, false, {}},
    };
    for (const Case& c : cases) {
        actions.clear();
        bar->setSizeable(c.sizeable);
        pressAt(c.at);
        ASSERT_EQ(actions.size(), c.expected.size()) << c.at.x() << "," << c.at.y() << " sizeable " << c.sizeable;
        for (size_t i = 0; i < actions.size(); ++i) {
            EXPECT_EQ(actions[i].action, c.expected[i]) << c.at.x() << "," << c.at.y();
            EXPECT_EQ(actions[i].window, &window);
        }
    }
}

TEST_F(TitlebarFixture, ResizeAreasShowResizeArrowsOnlyWhenSizeable)
{
    struct Case { QPoint at; Qt::CursorShape sizeable; };
    const Case cases[] = {
        {{200, 3}, Qt::SizeVerCursor}, {{2, 2}, Qt::SizeFDiagCursor}, {{3, 20}, Qt::SizeFDiagCursor},
        {{530, 2}, Qt::SizeBDiagCursor}, {{533, 25}, Qt::SizeBDiagCursor},
    };
    for (bool sizeable : {true, false}) {
        bar->setSizeable(sizeable);
        for (const Case& c : cases)
            EXPECT_EQ(bar->childAt(c.at)->cursor().shape(), sizeable ? c.sizeable : Qt::ArrowCursor)
                << c.at.x() << "," << c.at.y();
    }
}

TEST_F(TitlebarFixture, DoubleClickOnTheMiddleOrACornerRaisesDblClick)
{
    int dbl = 0;
    QObject::connect(bar, &XPTitlebar::DblClick, [&] { ++dbl; });
    struct Case { QPoint at; int raised; };
    const Case cases[] = {{{200, 15}, 1}, {{2, 2}, 1}, {{533, 25}, 1}, {{10, 15}, 0}, {{200, 3}, 0}, {{525, 15}, 0}};
    for (const Case& c : cases) {
        dbl = 0;
        QWidget* target = bar->childAt(c.at);
        mouse::doubleClick(target, target->mapFrom(bar, c.at));
        EXPECT_EQ(dbl, c.raised) << c.at.x() << "," << c.at.y();
    }
}

TEST_F(TitlebarFixture, HeightSnapsBackAfterTheResizeEvent)
{
    std::vector<int> heightsSeen;
    QObject::connect(bar, &XPTitlebar::Resize, [&] { heightsSeen.push_back(bar->height()); });
    bar->resize(400, 60);
    EXPECT_EQ(bar->height(), 29);
    ASSERT_FALSE(heightsSeen.empty());
    EXPECT_EQ(heightsSeen.front(), 60); // raised before the height is put back
    // The right cap follows the new width.
    EXPECT_EQ(bar->partAt({390, 15}), Part::RightCap);
    EXPECT_EQ(bar->partAt({380, 15}), Part::Middle);
}

TEST_F(TitlebarFixture, NarrowBarWidensTheParentUnlessMinimised)
{
    bar->resize(20, 29);
    EXPECT_EQ(window.width(), XPTitlebar::MinimumParentWidth);
    window.resize(300, 318);
    window.setWindowState(Qt::WindowMinimized);
    bar->resize(10, 29);
    EXPECT_EQ(window.width(), 300);
}
