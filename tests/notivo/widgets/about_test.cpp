#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include "notivo/widgets/frmAbout.h"
#include "MouseInput.h"

using namespace notivo;
using namespace std::chrono_literals;

TEST(frmAbout, ShowsNameAndNoticeAndClosesItselfAfterItsDelay)
{
    frmAbout about(nullptr, 150ms);
    EXPECT_EQ(about.Label1->text(), QStringLiteral("Tavro qLex Scrivel"));
    EXPECT_TRUE(about.Label2->text().contains(QStringLiteral("2005")));
    EXPECT_EQ(about.Picture1->size(), QSize(64, 60));
    QElapsedTimer clock;
    clock.start();
    // A safety net so a broken timer fails the test instead of hanging it.
    QTimer::singleShot(5000, &about, &QDialog::reject);
    const int result = about.exec();
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_GE(clock.elapsed(), 150);
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_FALSE(about.isVisible());
}

TEST(frmAbout, DefaultDelayIsFiveSeconds)
{
    frmAbout about;
    EXPECT_EQ(about.Timer1.intervalAsDuration(), 5000ms);
}

TEST(frmAbout, OnlyThePressAtTheRevealPointShowsTheHiddenPicture)
{
    struct Case { QPoint at; bool reveals; };
    const Case cases[] = {
        {{41, 27}, true}, {{40, 27}, false}, {{42, 27}, false}, {{41, 26}, false}, {{41, 28}, false}, {{0, 0}, false},
    };
    for (const Case& c : cases) {
        frmAbout about;
        about.show();
        const QSize before = about.size();
        mouse::press(about.Picture1, c.at, Qt::RightButton, Qt::ControlModifier);
        EXPECT_EQ(about.Picture2->isVisible(), c.reveals) << c.at.x() << "," << c.at.y();
        if (c.reveals) {
            EXPECT_EQ(about.size(), QSize(140, 215));
            EXPECT_EQ(about.Picture2->geometry(), QRect(0, 7, 138, 199));
            EXPECT_TRUE(about.Timer1.isActive()); // it still closes on time
        } else {
            EXPECT_EQ(about.size(), before);
        }
    }
}

TEST(frmAbout, FractionalPositionNextToTheRevealPointDoesNothing)
{
    frmAbout about;
    about.Picture1_MouseDown(Qt::LeftButton, {}, 41.5, 27);
    EXPECT_TRUE(about.Picture2->isHidden());
    about.Picture1_MouseDown(Qt::LeftButton, {}, 41, 27);
    EXPECT_FALSE(about.Picture2->isHidden());
}
