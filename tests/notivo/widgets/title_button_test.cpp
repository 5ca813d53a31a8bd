#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>

#include "notivo/widgets/WidgetArt.h"
#include "notivo/widgets/WidgetFonts.h"
#include "notivo/widgets/XPTitleButton.h"
#include "MouseInput.h"

using namespace notivo;

namespace {

QImage picture(const char* name) { return widgetPicture(QString::fromLatin1(name)); }

// The picture as it shows on a 21 x 21 face (the shorter maximise face leaves a row of button colour).
QImage asFace(const QImage& picture, const QColor& button)
{
    QImage face(21, 21, QImage::Format_RGB32);
    face.fill(button);
    QPainter(&face).drawImage(0, 0, picture);
    return face;
}

} // namespace

TEST(XPTitleButton, EachStyleShowsItsNormalAndPressedFace)
{
    struct Case { int style; const char* normal; const char* pressed; };
    const Case cases[] = {
        {0, "caption_close", "caption_close_pressed"},
        {1, "caption_maximise", "caption_maximise_pressed"},
        {2, "caption_minimise", "caption_minimise_pressed"},
        {3, "caption_blank", "caption_blank_pressed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        XPTitleButton button;
        button.show();
        button.setStyle(c.style);
        const QColor back = button.palette().color(QPalette::Button);
        EXPECT_EQ(button.faceImage(), asFace(picture(c.normal), back));
        mouse::press(&button, QPoint(10, 10));
        EXPECT_TRUE(button.isPressed());
        EXPECT_EQ(button.faceImage(), asFace(picture(c.pressed), back));
        EXPECT_NE(picture(c.normal), picture(c.pressed));
        // Released outside: the normal face comes back, and no click.
        int clicks = 0;
        QObject::connect(&button, &XPTitleButton::Click, [&] { ++clicks; });
        mouse::release(&button, QPoint(40, 40));
        EXPECT_EQ(button.faceImage(), asFace(picture(c.normal), back));
        EXPECT_EQ(clicks, 0);
    }
}

TEST(XPTitleButton, PassesMouseEventsOnAndClicksInside)
{
    XPTitleButton button;
    button.show();
    button.setStyle(2);
    QStringList order;
    QObject::connect(&button, &XPTitleButton::MouseDown, [&](Qt::MouseButton b, Qt::KeyboardModifiers s, double x, double y) {
        order << QStringLiteral("down %1 %2 %3 %4").arg(int(b)).arg(int(s)).arg(x).arg(y);
    });
    QObject::connect(&button, &XPTitleButton::MouseUp, [&](Qt::MouseButton b, Qt::KeyboardModifiers, double x, double y) {
        order << QStringLiteral("up %1 %2 %3").arg(int(b)).arg(x).arg(y);
    });
    QObject::connect(&button, &XPTitleButton::Click, [&] { order << QStringLiteral("click"); });
    mouse::click(&button, QPoint(3, 4), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(order, QStringList({QStringLiteral("down 1 %1 3 4").arg(int(Qt::ShiftModifier)),
                                  QStringLiteral("up 1 3 4"), QStringLiteral("click")}));
}

TEST(XPTitleButton, UnknownStyleKeepsTheFaceButStillRaisesDrawPic)
{
    XPTitleButton button;
    const QImage none = button.faceImage(); // a new button has no face
    EXPECT_EQ(none.pixelColor(10, 10), button.palette().color(QPalette::Button));
    button.setStyle(0);
    const QImage close = button.faceImage();
    int drawPic = 0;
    QObject::connect(&button, &XPTitleButton::DrawPic, [&] { ++drawPic; });
    for (int style : {4, -1}) {
        button.setStyle(style);
        EXPECT_EQ(button.Style(), style);
        EXPECT_EQ(button.faceImage(), close);
    }
    EXPECT_EQ(drawPic, 2);
    // Pressing with an unknown style leaves the face as it is.
    button.show();
    mouse::press(&button, QPoint(5, 5));
    EXPECT_EQ(button.faceImage(), close);
    mouse::release(&button, QPoint(5, 5));
}

TEST(XPTitleButton, NewButtonAnnouncesDrawPicOnceWired)
{
    XPTitleButton button;
    int drawPic = 0;
    QObject::connect(&button, &XPTitleButton::DrawPic, [&] { ++drawPic; });
    EXPECT_EQ(drawPic, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(drawPic, 1);
}

TEST(XPTitleButton, SnapsBackTo21By21)
{
    QWidget host;
    auto* button = new XPTitleButton(&host);
    host.show();
    for (QSize size : {QSize(40, 40), QSize(5, 30), QSize(21, 22)}) {
        button->resize(size);
        EXPECT_EQ(button->size(), QSize(21, 21)) << size.width() << "x" << size.height();
    }
}

TEST(XPTitleButton, HelpGlyphLayersStackInDrawingOrder)
{
    XPTitleButton button;
    button.setStyle(3);
    const QColor red(255, 0, 0);
    auto drawHelp = [&](int dx) {
        button.Cls();
        button.DrawText(QStringLiteral("?"), 4 + dx, -1 + dx, QStringLiteral("MS Sans Serif"), 12, 0x808080, true);
        button.DrawText(QStringLiteral("?"), 6 + dx, 1 + dx, QStringLiteral("MS Sans Serif"), 12, 0xFFFFFF, true);
        button.DrawText(QStringLiteral("?"), 5 + dx, 0 + dx, QStringLiteral("MS Sans Serif"), 12, 0x0000FF, true);
    };
    drawHelp(0);
    const QImage face = button.faceImage();

    // The same three layers drawn by hand over the blank face.
    QImage expected = asFace(picture("caption_blank"), button.palette().color(QPalette::Button));
    {
        QPainter p(&expected);
        QFont font = substituteFont(QStringLiteral("MS Sans Serif"), 12, true);
        font.setStyleStrategy(QFont::NoAntialias);
        p.setFont(font);
        const int ascent = QFontMetrics(font).ascent();
        const std::pair<QPoint, QColor> layers[] = {{{4, -1}, QColor(128, 128, 128)}, {{6, 1}, Qt::white}, {{5, 0}, red}};
        for (const auto& [at, colour] : layers) {
            p.setPen(colour);
            p.drawText(at.x(), at.y() + ascent, QStringLiteral("?"));
        }
    }
    EXPECT_EQ(face, expected);

    // Each layer shows where the later ones leave it uncovered.
    int counts[3] = {};
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) {
            const QColor c = face.pixelColor(x, y);
            counts[0] += c == QColor(128, 128, 128);
            counts[1] += c == QColor(255, 255, 255);
            counts[2] += c == red;
        }
    EXPECT_GT(counts[2], 15);
    EXPECT_GT(counts[1], 3);
    EXPECT_GT(counts[0], 3);

    // The pressed look draws everything one pixel right and down.
    drawHelp(1);
    const QImage pressed = button.faceImage();
    const QImage blank = asFace(picture("caption_blank"), button.palette().color(QPalette::Button));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (face.pixel(x, y) != blank.pixel(x, y))
                EXPECT_EQ(pressed.pixel(x + 1, y + 1), face.pixel(x, y)) << x << "," << y;

    button.Cls();
    EXPECT_EQ(button.faceImage(), blank);
}
