#include <gtest/gtest.h>

#include "notivo/widgets/WidgetArt.h"
#include "notivo/widgets/XPTitlebar.h"

using namespace notivo;

TEST(WidgetArt, EveryPictureIsCompiledInAtItsSize)
{
    struct Case { const char* name; QSize size; };
    const Case cases[] = {
        {"titlebar_left", {20, 29}},          {"titlebar_middle", {2, 29}},         {"titlebar_right", {17, 29}},
        {"caption_close", {21, 21}},          {"caption_close_pressed", {21, 21}},  {"caption_maximise", {21, 21}},
        {"caption_maximise_pressed", {21, 20}}, {"caption_minimise", {21, 21}},     {"caption_minimise_pressed", {21, 21}},
        {"caption_blank", {21, 21}},          {"caption_blank_pressed", {21, 21}},  {"digits", {89, 96}},
        {"about_product", {64, 60}},          {"about_hidden", {138, 199}},
    };
    for (const Case& c : cases) {
        const QImage image = widgetPicture(QString::fromLatin1(c.name));
        ASSERT_FALSE(image.isNull()) << c.name;
        EXPECT_EQ(image.size(), c.size) << c.name;
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << c.name;
    }
    EXPECT_TRUE(widgetPicture(QStringLiteral("no_such_picture")).isNull());
}

TEST(WidgetArt, TitlebarShowsCapsAtBothEndsAndTheStretchedMiddle)
{
    QWidget window;
    window.resize(300, 40);
    auto* bar = new XPTitlebar(&window);
    bar->setGeometry(0, 0, 300, 29);
    window.show();
    const QImage shown = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(300, 29));
    const QImage left = widgetPicture(QStringLiteral("titlebar_left"));
    const QImage right = widgetPicture(QStringLiteral("titlebar_right"));
    const QImage middle = widgetPicture(QStringLiteral("titlebar_middle"));
    for (int y = 0; y < 29; ++y) {
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(shown.pixel(x, y), left.pixel(x, y)) << x << "," << y;
        for (int x = 0; x < 17; ++x)
            ASSERT_EQ(shown.pixel(283 + x, y), right.pixel(x, y)) << x << "," << y;
        // The middle is a vertical gradient, so any column of it will do.
        for (int x : {20, 150, 282})
            ASSERT_EQ(shown.pixel(x, y), middle.pixel(0, y)) << x << "," << y;
    }
}
