#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <memory>

#include "notivo/widgets/BalloonLayout.h"
#include "notivo/widgets/BalloonWindow.h"
#include "notivo/widgets/Tooltip.h"

using namespace notivo;

namespace {

const QString kSemiquaverText = QStringLiteral(
    "A semi quaver is one of the shortest\r\nin length and is used for quick songs\r\n"
    "To convert it to demi-semiquaver\r\nincrease the tempo\r\nValue: 1/16 of whole note");

int darkPixels(const QImage& image, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qGray(image.pixel(x, y)) < 128;
    return n;
}

// The text `text` drawn in `font` on the tip's background, as a reference.
QImage referenceText(const QString& text, const QFont& font, const QSize& size, const QColor& back)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(back);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(0, QFontMetrics(font).ascent(), text);
    return image;
}

} // namespace

TEST(BalloonTip, SplitsTheTextAtEachLineBreak)
{
    EXPECT_EQ(tipLines(kSemiquaverText).size(), 5);
    EXPECT_EQ(tipLines(QStringLiteral("them so you can later paste them. You can \r\nalso")),
              QStringList({QStringLiteral("them so you can later paste them. You can "), QStringLiteral("also")}));
    EXPECT_EQ(tipLines(QStringLiteral("one\ntwo\rthree")).size(), 3);
    EXPECT_TRUE(tipLines(QString()).isEmpty());
}

TEST(BalloonTip, DrawsABoldTitleWithIconAboveTheLinesInOrder)
{
    BalloonContent content;
    content.title = QStringLiteral("Semiquaver");
    content.icon = Tooltip::InfoIcon;
    content.text = kSemiquaverText;
    content.textColor = Qt::black;
    content.backColor = Qt::white;
    content.balloon = true;
    const BalloonLayout layout = layoutBalloon(content);
    const QImage tip = renderBalloon(content);
    ASSERT_EQ(tip.size(), layout.size);

    EXPECT_TRUE(layout.titleFont.bold());
    EXPECT_FALSE(layout.textFont.bold());
    ASSERT_FALSE(layout.iconRect.isEmpty());
    EXPECT_LT(layout.iconRect.right(), layout.titleRect.left());
    // The icon is drawn: blue pixels inside its square.
    int blue = 0;
    for (int y = layout.iconRect.top(); y <= layout.iconRect.bottom(); ++y)
        for (int x = layout.iconRect.left(); x <= layout.iconRect.right(); ++x) {
            const QColor c = tip.pixelColor(x, y);
            blue += c.blue() > 150 && c.red() < 120;
        }
    EXPECT_GT(blue, 50);

    // The title carries more ink than the same word in the regular face.
    const QImage regular = referenceText(content.title, layout.textFont, layout.titleRect.size(), Qt::white);
    const int titleInk = darkPixels(tip, layout.titleRect);
    EXPECT_GT(titleInk, darkPixels(regular, regular.rect()) * 5 / 4);

    // Five lines below the title, top to bottom, each exactly its own text.
    ASSERT_EQ(layout.lines.size(), 5);
    int previousBottom = layout.titleRect.bottom();
    for (int i = 0; i < 5; ++i) {
        const QRect r = layout.lineRects[i];
        EXPECT_GT(r.top(), previousBottom) << i;
        previousBottom = r.bottom();
        EXPECT_TRUE(layout.body.contains(r)) << i;
        const QImage expected = referenceText(layout.lines[i], layout.textFont, r.size(), Qt::white);
        EXPECT_EQ(tip.copy(r), expected) << "line " << i;
        EXPECT_GT(darkPixels(tip, r), 20) << i;
    }
    EXPECT_EQ(layout.lines[4], QStringLiteral("Value: 1/16 of whole note"));
}

TEST(BalloonTip, BalloonHasAStemRectangleHasNone)
{
    BalloonContent content;
    content.title = QStringLiteral("Stop");
    content.icon = 1;
    content.text = QStringLiteral("Stops the playing of the current pentagram.");
    content.balloon = true;
    const BalloonLayout below = layoutBalloon(content, {true, true});
    EXPECT_EQ(below.stem.size(), 3);
    EXPECT_EQ(below.stemTip.y(), 0);
    EXPECT_GT(below.body.top(), 0);
    const BalloonLayout above = layoutBalloon(content, {false, false});
    EXPECT_EQ(above.stemTip.y(), above.size.height() - 1);
    EXPECT_GT(above.stemTip.x(), above.size.width() / 2);

    content.balloon = false;
    const BalloonLayout plain = layoutBalloon(content);
    EXPECT_TRUE(plain.stem.isEmpty());
    EXPECT_EQ(plain.body, QRect(QPoint(0, 0), plain.size));
}

TEST(BalloonTip, NoTitleMeansNoIconEither)
{
    BalloonContent content;
    content.icon = 1;
    content.text = QStringLiteral("just text");
    const BalloonLayout layout = layoutBalloon(content);
    EXPECT_TRUE(layout.iconRect.isEmpty());
    EXPECT_TRUE(layout.titleRect.isNull());
    ASSERT_EQ(layout.lineRects.size(), 1);
}

class TooltipFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        host->resize(200, 100);
        control = new QPushButton(QStringLiteral("x"), host.get());
        control->setGeometry(10, 10, 25, 24);
        host->show();
    }
    std::unique_ptr<QWidget> host;
    QPushButton* control = nullptr;
};

TEST_F(TooltipFixture, CreateBuildsOneWindowFromTheStoredProperties)
{
    Tooltip tip;
    tip.setParentControl(control);
    tip.setStyle(1);
    tip.setTipText(QStringLiteral("a\r\nb"));
    tip.setTitle(QStringLiteral("T"));
    EXPECT_EQ(tip.tipWindow(), nullptr); // nothing before Create
    tip.Create();
    BalloonWindow* first = tip.tipWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->content().balloon);
    EXPECT_EQ(first->content().title, QStringLiteral("T")); // title without icon still shows
    EXPECT_EQ(first->content().icon, 0);
    EXPECT_EQ(first->content().text, QStringLiteral("a\r\nb"));
    EXPECT_EQ(first->toolRect(), QRect(0, 0, 25, 24));
    EXPECT_FALSE(first->isCentered());
    EXPECT_FALSE(first->content().textColor.isValid());
    EXPECT_FALSE(first->content().backColor.isValid());

    tip.setStyle(0);
    tip.setCentered(true);
    EXPECT_TRUE(tip.tipWindow()->content().balloon); // only the next Create uses them
    tip.Create();
    EXPECT_FALSE(tip.tipWindow()->content().balloon);
    EXPECT_TRUE(tip.tipWindow()->isCentered());
    EXPECT_EQ(control->findChildren<BalloonWindow*>().size(), 1); // the first one is gone

    tip.setParentControl(nullptr);
    tip.Create();
    EXPECT_EQ(tip.tipWindow(), nullptr);
    EXPECT_TRUE(control->findChildren<BalloonWindow*>().isEmpty());
}

TEST_F(TooltipFixture, TitleReachesTheWindowOnlyWithANonZeroIcon)
{
    Tooltip tip;
    tip.setParentControl(control);
    tip.setStyle(1);
    tip.Create();
    tip.setTipText(QStringLiteral("Plays the song step by step\r\nClick to play the next note"));
    EXPECT_EQ(tip.tipWindow()->content().text, tip.TipText());
    tip.setTitle(QStringLiteral("Step"));
    EXPECT_EQ(tip.Title(), QStringLiteral("Step"));
    EXPECT_TRUE(tip.tipWindow()->content().title.isEmpty());
    tip.setIcon(1);
    EXPECT_EQ(tip.tipWindow()->content().title, QStringLiteral("Step"));
    EXPECT_EQ(tip.tipWindow()->content().icon, 1);
    tip.setIcon(0); // icon 0 sends nothing
    EXPECT_EQ(tip.tipWindow()->content().icon, 1);
    EXPECT_EQ(tip.Icon(), 0);
}

TEST_F(TooltipFixture, ColoursZeroOnlyThroughAWriteWhileTheWindowExists)
{
    Tooltip tip;
    tip.setParentControl(control);
    tip.setForeColor(0x0000FF); // red, as 0x00BBGGRR
    tip.setBackColor(0);
    tip.Create();
    EXPECT_EQ(tip.tipWindow()->content().textColor, QColor(255, 0, 0));
    EXPECT_FALSE(tip.tipWindow()->content().backColor.isValid()); // 0 = system default at Create
    tip.setBackColor(0);
    EXPECT_EQ(tip.tipWindow()->content().backColor, QColor(0, 0, 0)); // black once written
    tip.setForeColor(0xFF0000);
    EXPECT_EQ(tip.tipWindow()->content().textColor, QColor(0, 0, 255));
    EXPECT_EQ(tip.ForeColor(), 0xFF0000u);
}

TEST_F(TooltipFixture, HoverShowsTheBalloonAndNoPlainTooltip)
{
    control->setToolTip(QString()); // as the editor clears it
    Tooltip tip;
    tip.setParentControl(control);
    tip.setStyle(1);
    tip.Create();
    tip.setTipText(QStringLiteral("Stops the playing of the current pentagram."));
    tip.setTitle(QStringLiteral("Stop"));
    tip.setIcon(1);
    BalloonWindow* window = tip.tipWindow();
    ASSERT_FALSE(window->isVisible());

    const QPoint local(5, 6);
    QHelpEvent help(QEvent::ToolTip, local, control->mapToGlobal(local));
    QApplication::sendEvent(control, &help);
    ASSERT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(help.isAccepted());
    // The stem points at the pointer.
    const BalloonLayout layout = layoutBalloon(window->content(), {true, true});
    EXPECT_EQ(window->geometry().topLeft() + layout.stemTip, control->mapToGlobal(local));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(control, &leave);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(TooltipFixture, CentredTipHangsUnderTheControl)
{
    Tooltip tip;
    tip.setParentControl(control);
    tip.setStyle(0);
    tip.setCentered(true);
    tip.setTipText(QStringLiteral("centred"));
    tip.Create();
    tip.tipWindow()->popup(QPoint(1000, 1000)); // the pointer does not matter
    const QRect g = tip.tipWindow()->geometry();
    const QPoint bottomCentre = control->mapToGlobal(QPoint(12, 24));
    EXPECT_EQ(g.top(), bottomCentre.y());
    EXPECT_LE(std::abs(g.center().x() - bottomCentre.x()), 1);
}

TEST_F(TooltipFixture, DestroyingTheTooltipRemovesItsWindow)
{
    auto tip = std::make_unique<Tooltip>();
    tip->setParentControl(control);
    tip->Create();
    ASSERT_EQ(control->findChildren<BalloonWindow*>().size(), 1);
    tip.reset();
    EXPECT_TRUE(control->findChildren<BalloonWindow*>().isEmpty());
}

TEST_F(TooltipFixture, TipNearTheScreenCornerStandsAboveAndLeftOfThePointer)
{
    Tooltip tip;
    tip.setParentControl(control);
    tip.setStyle(1);
    tip.setTitle(QStringLiteral("Sharp"));
    tip.setIcon(1);
    tip.setTipText(QStringLiteral("Sharp increases the pitch of a note\r\nIn notes Mi and Ti (E,B) the note"));
    tip.Create();
    const QRect screen = control->screen()->availableGeometry();
    const QPoint pointer = screen.bottomRight() - QPoint(5, 5);
    tip.tipWindow()->popup(pointer);
    const QRect g = tip.tipWindow()->geometry();
    EXPECT_TRUE(screen.contains(g)) << g.x() << "," << g.y() << " " << g.width() << "x" << g.height();
    const BalloonLayout layout = layoutBalloon(tip.tipWindow()->content(), {false, false});
    const QPoint stemTip = g.topLeft() + layout.stemTip;
    EXPECT_EQ(stemTip.y(), pointer.y());
    EXPECT_LE(std::abs(stemTip.x() - pointer.x()), 8);
}
