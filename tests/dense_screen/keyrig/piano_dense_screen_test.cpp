#include "tests/keyrig/PianoWindowFixture.h"

#include <QApplication>

// The keyboard window on a screen of more than one device pixel per pixel
// (this program runs with Qt's scale factor at 2 and at 1.5).
namespace {

// True when, in `area` (logical pixels) of a shot at ratio 2, some 2 x 2
// block of screen pixels is not of one colour: the picture there has more
// detail than a 1x picture shown doubled.
bool finerThanDoubled(const QImage& shot, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = shot.pixel(2 * x, 2 * y);
            if (shot.pixel(2 * x + 1, 2 * y) != p || shot.pixel(2 * x, 2 * y + 1) != p ||
                shot.pixel(2 * x + 1, 2 * y + 1) != p)
                return true;
        }
    return false;
}

using PianoOnADenseScreen = PianoWindowFixture;

} // namespace

TEST_F(PianoOnADenseScreen, SymbolsAndPanelAreDrawnForTheScreen)
{
    frmPiano& piano = open();
    piano.show();
    const qreal ratio = qApp->devicePixelRatio();
    ASSERT_GT(ratio, 1.0);
    const QImage shot = piano.grab().toImage();
    ASSERT_EQ(shot.size(), (QSizeF(piano.size()) * ratio).toSize());

    // Each symbol sits in the middle of its label at its logical size, as at 1x.
    for (const char* name : {"lblDevice", "lblExit", "lblBeatCtrl_0", "lblBeatCtrl_3"}) {
        SCOPED_TRACE(name);
        PanelLabel* l = label(name);
        ASSERT_NE(l, nullptr);
        const QImage alone = l->grab().toImage();
        QRect ink;
        for (int y = 0; y < alone.height(); ++y)
            for (int x = 0; x < alone.width(); ++x)
                if (alone.pixel(x, y) == l->textColour().rgb())
                    ink |= QRect(x, y, 1, 1);
        ASSERT_FALSE(ink.isEmpty());
        const QPointF centre = QRectF(ink).center() / ratio;
        EXPECT_NEAR(centre.x(), l->width() / 2.0, 2.0);
        EXPECT_NEAR(centre.y(), l->height() / 2.0, 2.0);
        if (ratio == 2.0)
            EXPECT_TRUE(finerThanDoubled(shot, l->geometry()));
    }
    // The panel behind the controls, along the top edge.
    if (ratio == 2.0)
        EXPECT_TRUE(finerThanDoubled(shot, QRect(20, 1, 100, 8)));
}
