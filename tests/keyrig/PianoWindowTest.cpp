#include "PianoWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <functional>
#include <memory>

#include "keyrig/frmPiano.h"
#include "keyrig/PanelLabel.h"
#include "keyrig/TerminationSignals.h"
#include "platform/chrome/ProgramFolder.h"
#include "tests/support/TestSupport.h"

namespace {

class PianoWindowTest : public PianoWindowFixture {};

std::vector<std::uint32_t> programChange(int program)
{
    return {0x000000B0, 0x000020B0, platform::midi::packShortMessage(0xC0, program)};
}

TEST_F(PianoWindowTest, StartsWithDefaultsSelectsTheFirstBankAndSavesAtExit)
{
    frmPiano& w = open();
    EXPECT_EQ(sent(), programChange(0));
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(label("lblInstrument")->text(), "Acoustic Grand Piano");
    EXPECT_EQ(label("lblBeat")->text(), "Disco");
    EXPECT_EQ(label("lblBaseKey")->text(), " C");
    EXPECT_EQ(w.beatInterval(), 170);
    EXPECT_EQ(w.beat().CurrentSection, -1);
    EXPECT_EQ(w.beat().PendingSection, -2);
    EXPECT_EQ(w.keyVelocity(), 127);
    EXPECT_EQ(w.size(), QSize(376, 121));
    EXPECT_EQ(w.menu(0)->actions().size(), 128);
    EXPECT_EQ(w.menu(0)->actions()[24]->text(), "Acoustic Guitar (nylon)");
    EXPECT_EQ(w.menu(1)->actions().size(), 32);
    EXPECT_EQ(w.menu(1)->actions()[0]->text(), "Acoustic Bass Drum");
    EXPECT_EQ(w.menu(2)->actions().size(), 3);
    ASSERT_EQ(w.menu(3)->actions().size(), 3);
    EXPECT_EQ(w.menu(3)->actions()[2]->text(), "Recorder 2");
    EXPECT_EQ(w.menu(4)->actions()[1]->text(), "C#");

    mouse(label("lblExit"), QEvent::MouseButtonPress, {8, 10});
    mouse(label("lblExit"), QEvent::MouseButtonRelease, {8, 10});
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(recorder.openCount(), 0);
    EXPECT_EQ(savedConfig(), QByteArray(" 0 \r\n 0  0  0  0 \r\n 49  57  51  45  47  48  46  42  44  37  36  40 \r\n"));
}

// Should the handler be missing, SIGTERM is ignored and the test program lives on.
class IgnoredTerm {
public:
    IgnoredTerm()
    {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGTERM, &ignore, &previous_);
    }
    ~IgnoredTerm() { sigaction(SIGTERM, &previous_, nullptr); }

private:
    struct sigaction previous_ {};
};

TEST_F(PianoWindowTest, ALogoutSignalClosesTheWindowAndSavesTheSettings)
{
    IgnoredTerm guard;
    frmPiano& w = open();
    w.mnuDrum_Click(0); // pad 0 takes key 35
    TerminationSignals endSignals([&w] { TerminationSignals::endUnattended(&w); });
    ASSERT_TRUE(endSignals.isActive());
    raise(SIGTERM);
    EXPECT_TRUE(savedConfig().isEmpty()); // nothing is done inside the handler
    EXPECT_TRUE(waitFor([&] { return !savedConfig().isEmpty(); }, 2000));
    EXPECT_EQ(savedConfig(), QByteArray(" 0 \r\n 0  0  0  0 \r\n 35  57  51  45  47  48  46  42  44  37  36  40 \r\n"));
    EXPECT_EQ(recorder.openCount(), 0);
}

TEST_F(PianoWindowTest, ALogoutWhileAMenuIsOpenClosesItAndSaves)
{
    IgnoredTerm guard;
    frmPiano& w = open();
    TerminationSignals endSignals([&w] { TerminationSignals::endUnattended(&w); });
    bool menuWasUp = false, rescued = false;
    QTimer::singleShot(50, [&] {
        menuWasUp = QApplication::activePopupWidget() == w.menu(0);
        raise(SIGTERM);
    });
    QTimer::singleShot(3000, [&] { // never hang the test run
        if (QWidget* menu = QApplication::activePopupWidget()) {
            rescued = true;
            menu->close();
        }
    });
    mouse(label("lblBank_1"), QEvent::MouseButtonPress, {5, 5}, Qt::RightButton); // programming bank 1
    EXPECT_TRUE(menuWasUp);
    EXPECT_FALSE(rescued);
    EXPECT_EQ(w.banks()[1], 0);
    EXPECT_EQ(savedConfig(), QByteArray(" 0 \r\n 0  0  0  0 \r\n 49  57  51  45  47  48  46  42  44  37  36  40 \r\n"));
}

TEST_F(PianoWindowTest, ALogoutWhileAMessageBoxWaitsStillSavesTheSettings)
{
    IgnoredTerm guard;
    recorder.setFailingDevices({0});
    frmPiano& w = open(); // the port did not open, so closing it will fail too
    w.mnuDrum_Click(0);
    platform::setMessageSink(nullptr); // real, modal boxes from here on
    TerminationSignals endSignals([&w] { TerminationSignals::endUnattended(&w); });
    ASSERT_TRUE(endSignals.isActive());
    bool boxWasUp = false, rescued = false;
    QTimer::singleShot(50, [&] {
        boxWasUp = QApplication::activeModalWidget() != nullptr;
        raise(SIGTERM);
    });
    QTimer::singleShot(3000, [&] { // never hang the test run
        if (QWidget* box = QApplication::activeModalWidget()) {
            rescued = true;
            box->close();
        }
    });
    // "Close MIDI Out failed" waits for an OK that nobody gives at a logout.
    w.close();
    EXPECT_TRUE(boxWasUp);
    EXPECT_FALSE(rescued);
    EXPECT_EQ(savedConfig(), QByteArray(" 0 \r\n 0  0  0  0 \r\n 35  57  51  45  47  48  46  42  44  37  36  40 \r\n"));
}

TEST_F(PianoWindowTest, ReadsTheSettingsFileAndRecallsBanks)
{
    QFile config(folder.filePath("config.dat"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("2\n5 6 24 7\n35");
    config.close();
    frmPiano& w = open();
    ASSERT_FALSE(recorder.messages().empty());
    EXPECT_EQ(recorder.messages()[0].device, 2);
    EXPECT_EQ(sent(), programChange(5));
    EXPECT_EQ(w.drumNote(0), 35);
    EXPECT_EQ(w.drumNote(1), 57);

    recorder.clear();
    key(QEvent::KeyPress, Qt::Key_F3, ScanF3);
    key(QEvent::KeyRelease, Qt::Key_F3, ScanF3);
    EXPECT_EQ(sent(), programChange(24));
    EXPECT_EQ(w.currentInstrument(), 24);
    EXPECT_EQ(label("lblBank_2")->backColour(), QColor(128, 128, 128));
}

TEST_F(PianoWindowTest, AHeldKeyWithAutoRepeatSendsOneNoteOnAndOneNoteOff)
{
    frmPiano& w = open();
    recorder.clear();
    key(QEvent::KeyPress, Qt::Key_Z, ScanZ);
    EXPECT_EQ(w.keyColour(0), QColor(200, 200, 200));
    for (int repeat = 0; repeat < 5; ++repeat) {
        key(QEvent::KeyRelease, Qt::Key_Z, ScanZ, true);
        key(QEvent::KeyPress, Qt::Key_Z, ScanZ, true);
    }
    key(QEvent::KeyRelease, Qt::Key_Z, ScanZ);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(0, 48, 127), off(0, 48)}));
    EXPECT_EQ(w.keyColour(0), QColor(Qt::white));
}

TEST_F(PianoWindowTest, KeysPlayByPlaceWhateverTheLayoutSays)
{
    frmPiano& w = open();
    recorder.clear();
    // An AZERTY keyboard reports W at the place of the US Z, and Shift gives
    // punctuation on the digit row: the place decides.
    key(QEvent::KeyPress, Qt::Key_W, ScanZ);
    key(QEvent::KeyPress, Qt::Key_Greater, ScanX, false, Qt::ShiftModifier);
    EXPECT_EQ(w.keyColour(2), QColor(200, 200, 200));
    key(QEvent::KeyPress, Qt::Key_Down, ScanKeypad2, false, Qt::KeypadModifier); // keypad 2, NumLock off
    key(QEvent::KeyRelease, Qt::Key_W, ScanZ);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(0, 48, 127), on(0, 50, 127), on(9, 36, 127), off(0, 48)}));
    EXPECT_EQ(w.padColour(10), QColor(128, 128, 128));
}

TEST_F(PianoWindowTest, LosingTheFocusReleasesHeldKeysAndPads)
{
    frmPiano& w = open();
    recorder.clear();
    key(QEvent::KeyPress, Qt::Key_Z, ScanZ);
    key(QEvent::KeyPress, Qt::Key_2, ScanKeypad2, false, Qt::KeypadModifier);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&w, &focusOut);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(0, 48, 127), on(9, 36, 127), off(0, 48), off(9, 36)}));
    EXPECT_EQ(w.keyColour(0), QColor(Qt::white));
    EXPECT_EQ(w.padColour(10), QColor(192, 192, 192));
    key(QEvent::KeyRelease, Qt::Key_Z, ScanZ); // the late key-up changes nothing
    EXPECT_EQ(sent().size(), 4u);
}

TEST_F(PianoWindowTest, F5StartsTheDiscoIntroOnTheBeatTimer)
{
    frmPiano& w = open();
    recorder.clear();
    key(QEvent::KeyPress, Qt::Key_F5, ScanF5);
    key(QEvent::KeyPress, Qt::Key_F5, ScanF5, true); // held: no second request
    EXPECT_EQ(w.beat().CurrentSection, 0);
    ASSERT_TRUE(waitFor([&] { return sent().size() >= 9; }, 3000));
    const std::vector<std::uint32_t> intro{on(9, 44, 127), on(9, 35, 127), on(9, 55, 127), on(9, 46, 127),
                                           on(9, 44, 127), on(9, 40, 127), on(9, 35, 127), on(9, 42, 127),
                                           on(9, 44, 127)};
    const auto packed = sent();
    EXPECT_EQ(std::vector<std::uint32_t>(packed.begin(), packed.begin() + 9), intro);
    key(QEvent::KeyRelease, Qt::Key_F5, ScanF5);
}

TEST_F(PianoWindowTest, RightClickProgrammesABankAndEscapeLeavesItAlone)
{
    frmPiano& w = open();
    recorder.clear();
    QTimer::singleShot(100, [&] {
        w.menu(0)->actions()[24]->trigger();
        w.menu(0)->close();
    });
    mouse(label("lblBank_2"), QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
    EXPECT_EQ(w.banks()[2], 24);
    EXPECT_EQ(w.currentInstrument(), 24);
    EXPECT_EQ(sent(), programChange(24));
    EXPECT_EQ(label("lblBank_2")->backColour(), QColor(128, 128, 128));

    recorder.clear();
    QTimer::singleShot(100, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_EQ(popup, w.menu(0));
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(popup, &escape);
    });
    mouse(label("lblBank_1"), QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
    EXPECT_EQ(w.banks()[1], 0);
    EXPECT_EQ(w.currentInstrument(), 24);
    EXPECT_TRUE(sent().empty());

    // An instrument chosen without programming leaves the banks alone.
    w.mnuPiano_Click(40);
    EXPECT_EQ(w.banks(), (std::array<int, 4>{0, 0, 24, 0}));
    EXPECT_EQ(label("lblInstrument")->text(), "Violin");

    w.close();
    EXPECT_TRUE(savedConfig().startsWith(" 0 \r\n 0  0  24  0 \r\n"));
}

TEST_F(PianoWindowTest, SlidersSetVelocityAndStepLength)
{
    frmPiano& w = open();
    PanelLabel* volume = label("lblVolume");
    mouse(volume, QEvent::MouseButtonPress, {33, 4}); // 495 twips
    EXPECT_EQ(w.keyVelocity(), 75);
    EXPECT_EQ(label("lblVolumePtr")->x(), 117);        // (1328 + 427.5) / 15
    mouse(volume, QEvent::MouseMove, {-40, 4});
    EXPECT_EQ(w.keyVelocity(), 0);
    mouse(volume, QEvent::MouseButtonRelease, {-40, 4});
    mouse(volume, QEvent::MouseMove, {40, 4});         // not dragging any more
    EXPECT_EQ(w.keyVelocity(), 0);

    w.mnuBeat_Click(1); // Rock
    PanelLabel* rate = label("lblRate");
    mouse(rate, QEvent::MouseButtonPress, {2, 100});
    EXPECT_EQ(w.beatInterval(), 250);
    mouse(rate, QEvent::MouseMove, {2, -10});
    EXPECT_EQ(w.beatInterval(), 150);
    mouse(rate, QEvent::MouseButtonRelease, {2, -10});
    mouse(rate, QEvent::MouseButtonPress, {2, 30});
    mouse(rate, QEvent::MouseButtonRelease, {2, 30});
    EXPECT_EQ(w.beatInterval(), 250);
    w.mnuBeat_Click(2); // the knob stays, the interval goes back to the base
    EXPECT_EQ(w.beatInterval(), 100);
    EXPECT_EQ(label("lblBeat")->text(), "16 Beat");

    recorder.clear();
    key(QEvent::KeyPress, Qt::Key_Z, ScanZ);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(0, 48, 0)}));
}

// Presses go through the window system, which hands each one to the control
// under the pointer: on the rate knob's edges (the knob is wider than its
// track) that is the knob, in the middle the track.
TEST_F(PianoWindowTest, TheRateKnobWorksFromEveryPartOfIt)
{
    frmPiano& w = open();
    w.show();
    QWindow* win = w.windowHandle();
    ASSERT_NE(win, nullptr);
    w.mnuBeat_Click(1); // Rock: 150 ms at the top, 250 ms at the bottom
    const QRect knob = label("lblRatePtr")->geometry();
    const QRect track = label("lblRate")->geometry();
    ASSERT_LT(knob.left(), track.left());
    ASSERT_GT(knob.right(), track.right());

    struct Case {
        const char* what;
        int x;             // in the window
        int pressDy;       // from the knob's top
        int dragTo;        // window y of the drag's end
        int atEnd;         // step length there, ms
    };
    const Case cases[] = {
        {"left edge, dragged down", knob.left(), 4, track.bottom() + 20, 250},
        {"right edge, dragged up", knob.right(), 4, track.top() - 20, 150},
        {"middle, dragged down", knob.center().x(), 4, track.bottom() + 20, 250},
        {"left edge, dragged up", knob.left(), 0, track.top() - 20, 150},
    };
    for (const Case& c : cases) {
        const QPoint press(c.x, label("lblRatePtr")->y() + c.pressDy);
        // The value under the pointer, by the slider's own rule, in the track's coordinates.
        const double y = std::clamp((press.y() - track.top()) * 15.0 - 67.5, 0.0, 315.0);
        const int expected = int(std::lrint(y / 315 * 100 + 150));
        QTest::mousePress(win, Qt::LeftButton, {}, press);
        EXPECT_EQ(w.beatInterval(), expected) << c.what;
        QTest::mouseMove(win, QPoint(c.x, c.dragTo));
        EXPECT_EQ(w.beatInterval(), c.atEnd) << c.what;
        QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(c.x, c.dragTo));
        QTest::mouseMove(win, QPoint(c.x, press.y())); // no button: nothing moves
        EXPECT_EQ(w.beatInterval(), c.atEnd) << c.what;
    }
    EXPECT_TRUE(w.isVisible());
}

TEST_F(PianoWindowTest, DeviceBaseKeyAndDrumPadChoices)
{
    frmPiano& w = open();
    w.mnuBaseKey_Click(2);
    EXPECT_EQ(label("lblBaseKey")->text(), "D");
    EXPECT_EQ(recorder.openCount(), 1);
    recorder.clear();
    key(QEvent::KeyPress, Qt::Key_Z, ScanZ);
    key(QEvent::KeyRelease, Qt::Key_Z, ScanZ);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(0, 50, 127), off(0, 50)}));

    QTimer::singleShot(100, [&] {
        w.menu(1)->actions()[0]->trigger();
        w.menu(1)->close();
    });
    mouse(label("lblDrums_10"), QEvent::MouseButtonPress, {4, 4});
    mouse(label("lblDrums_10"), QEvent::MouseButtonRelease, {4, 4});
    EXPECT_EQ(w.drumNote(10), 35);
    recorder.clear();
    key(QEvent::KeyPress, Qt::Key_2, ScanKeypad2, false, Qt::KeypadModifier);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(9, 35, 127)}));

    recorder.setFailingDevices({1});
    w.mnuDevice_Click(1);
    EXPECT_EQ(messages(), QStringList{"Open MIDI Out failed"});
    recorder.setFailingDevices({});
    recorder.clear();
    w.mnuDevice_Click(2);
    ASSERT_EQ(recorder.messages().size(), 3u);
    EXPECT_EQ(recorder.messages()[0].device, 2);
    EXPECT_EQ(sent(), programChange(0));
    EXPECT_EQ(messages(), (QStringList{"Open MIDI Out failed", "Close MIDI Out failed"}));
}

TEST_F(PianoWindowTest, LabelsLightUpWhileTheirMenuIsOpen)
{
    frmPiano& w = open();
    struct Case {
        const char* label;
        int menu;
        bool text; // the text colour changes, not the back colour
        QColor during, after;
    };
    const QColor yellow(255, 255, 0), grey(128, 128, 128), light(192, 192, 192);
    const Case cases[] = {
        {"lblInstrument", 0, false, yellow, grey},
        {"lblBeat", 2, false, yellow, grey},
        {"lblDevice", 3, true, yellow, light},
        {"lblBaseKey", 4, false, light, light},
    };
    for (const Case& c : cases) {
        PanelLabel* l = label(c.label);
        auto colour = [&] { return c.text ? l->textColour() : l->backColour(); };
        QWidget* shown = nullptr;
        QColor during;
        QTimer::singleShot(50, [&] {
            shown = QApplication::activePopupWidget();
            during = colour();
            if (shown)
                shown->close();
        });
        mouse(l, QEvent::MouseButtonPress, {3, 3});
        mouse(l, QEvent::MouseButtonRelease, {3, 3});
        EXPECT_EQ(shown, w.menu(c.menu)) << c.label;
        EXPECT_EQ(during, c.during) << c.label;
        EXPECT_EQ(colour(), c.after) << c.label;
    }

    PanelLabel* fill = label("lblBeatCtrl_1");
    mouse(fill, QEvent::MouseButtonPress, {3, 3});
    EXPECT_EQ(fill->backColour(), yellow);
    mouse(fill, QEvent::MouseButtonRelease, {3, 3});
    EXPECT_EQ(fill->backColour(), grey);
    EXPECT_EQ(w.beat().CurrentSection, 2); // a click on Fill while stopped starts it
}

TEST_F(PianoWindowTest, WithNoOutputDeviceTheDeviceMenuKeepsItsOneEntry)
{
    platform::midi::RecorderMidiService none(0);
    platform::midi::installMidiService(&none);
    frmPiano& w = open();
    EXPECT_EQ(messages(), QStringList{"Open MIDI Out failed"});
    ASSERT_EQ(w.menu(3)->actions().size(), 1);
    EXPECT_EQ(w.menu(3)->actions()[0]->text(), "Device");
    w.menu(3)->actions()[0]->trigger();
    EXPECT_EQ(messages().count("Open MIDI Out failed"), 2);
    EXPECT_EQ(messages().last(), "Open MIDI Out failed");
    window.reset();
    platform::midi::installMidiService(&recorder);
}

TEST_F(PianoWindowTest, EitherButtonOnTheBackgroundMovesTheWindow)
{
    frmPiano& w = open();
    w.show();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        const QPoint start = w.pos();
        const QPoint press(100, 45); // between the volume slider and the keys
        mouse(&w, QEvent::MouseButtonPress, press, button);
        QMouseEvent move(QEvent::MouseMove, QPointF(press + QPoint(30, 20)),
                         QPointF(w.mapToGlobal(press) + QPoint(30, 20)), Qt::NoButton, button, Qt::NoModifier);
        QApplication::sendEvent(&w, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(press), QPointF(w.mapToGlobal(press)), button,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &release);
        EXPECT_EQ(w.pos(), start + QPoint(30, 20)) << button;
    }
}

TEST_F(PianoWindowTest, DrawsKeysAndPadsInTheirColours)
{
    frmPiano& w = open();
    key(QEvent::KeyPress, Qt::Key_Z, ScanZ);
    key(QEvent::KeyPress, Qt::Key_S, 39);
    const QImage shot = w.grab().toImage();
    const QRect white = w.keyRect(0), black = w.keyRect(1);
    EXPECT_EQ(white, QRect(19, 51, 17, 57));
    EXPECT_EQ(black, QRect(27, 51, 17, 33));
    EXPECT_EQ(QColor(shot.pixel(white.left() + 3, white.bottom() - 3)), QColor(200, 200, 200));
    EXPECT_EQ(QColor(shot.pixel(black.center())), QColor(100, 100, 100));
    EXPECT_EQ(QColor(shot.pixel(w.keyRect(2).left() + 12, w.keyRect(2).bottom() - 3)), QColor(Qt::white));
    EXPECT_EQ(QColor(shot.pixel(w.padRect(4).center())), QColor(192, 192, 192));
    EXPECT_EQ(QColor(shot.pixel(w.keyRect(0).topLeft())), QColor(128, 128, 128));
}

} // namespace
