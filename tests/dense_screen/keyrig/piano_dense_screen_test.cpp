#include "tests/keyrig/PianoWindowFixture.h"
#include "tests/support/DoubledPixels.h"

#include <QApplication>

// The keyboard window on a screen of more than one device pixel per pixel
// (this program runs with Qt's scale factor at 2 and at 1.5).
using PianoOnADenseScreen = PianoWindowFixture;

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
