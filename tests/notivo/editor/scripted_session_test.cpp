#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "notivo/editor/frmEditor.h"
#include "notivo/score/ScoreModel.h"
#include "platform/midi/MidiService.h"
#include "platform/raster/PictureBox.h"
#include "tests/notivo/editor/play_fakes.h"
#include "tests/support/TestSupport.h"

using namespace notivo;
using namespace notivo::playtest;

// One session worked the way a user works the window: edits with the mouse
// and the palette, instruments, a run with a step and a pause inside it,
// Stop, Step to the wrap, the position strip, undo and redo, another device,
// Save as in three formats and Exit.  Every MIDI message, with its time on
// the fake clock, and every saved file must stay exactly as recorded in
// tests/data/notivo/scripted_session.
namespace {

const QString GoldenFolder = sourceDir() + QStringLiteral("/tests/data/notivo/scripted_session");

// Two devices whose ports log each message with the fake clock's time.
class SessionMidi : public platform::midi::MidiService {
public:
    std::function<long long()> now = [] { return 0LL; };
    QStringList log;

    int deviceCount() override { return 2; }
    std::string productName(int device) override { return "Session " + std::to_string(device); }
    std::unique_ptr<platform::midi::MidiPort> open(int device, int& result) override
    {
        result = platform::midi::MidiOk;
        return std::make_unique<Port>(*this, device);
    }

private:
    struct Port : platform::midi::MidiPort {
        Port(SessionMidi& owner, int device) : owner(owner), device(device) {}
        void sendShortMessage(std::uint32_t packed) override
        {
            owner.log << QStringLiteral("%1 %2 %3")
                             .arg(owner.now())
                             .arg(device)
                             .arg(packed, 6, 16, QLatin1Char('0'));
        }
        SessionMidi& owner;
        int device;
    };
};

class ScriptedSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        EditorServices services;
        services.endProgram = [this] { ++endCount; };
        services.chooseSaveFile = [this](QWidget*, const QString&) { return savePath; };
        clock = fakeClockFor(services);
        services.midi = &midi;
        editor = std::make_unique<frmEditor>(score, std::move(services));
        ASSERT_TRUE(editor->Form_Load());
        editor->Timer2->stop(); // no ticks: the session is about sound and files
        clock->run();
        origin = clock->ms();
        midi.now = [this] { return clock->ms() - origin; };
        midi.log.clear();
    }
    void TearDown() override { editor.reset(); }

    void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPointF pos)
    {
        QMouseEvent event(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &event);
        clock->run();
    }
    // A click on the staff at window column w, staff position r.
    void put(int w, int r)
    {
        const QPointF at(16.0 * w + 30, 5.0 * r + 13);
        mouse(editor->NoteContainerPbx, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
        mouse(editor->NoteContainerPbx, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
    }
    void drag(double fromX, double toX)
    {
        QWidget* canvas = editor->NoteContainerPbx;
        mouse(canvas, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {fromX, 60});
        mouse(canvas, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {toX, 60});
        mouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {toX, 60});
    }
    void strip(QEvent::Type type, double x)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        mouse(editor->Picture6, type, button, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
              {x, 4});
    }
    void click(QAbstractButton* button)
    {
        button->click();
        clock->run();
    }
    void instrument(int entry)
    {
        editor->Combo1->setCurrentIndex(entry);
        emit editor->Combo1->activated(entry);
        clock->run();
    }
    void save(const QString& name)
    {
        savePath = folder.filePath(name);
        editor->mnuSaveItm->trigger();
        clock->run();
    }

    SessionMidi midi;
    Score score;
    std::unique_ptr<frmEditor> editor;
    FakeClock* clock = nullptr; // the editor's
    long long origin = 0;
    int endCount = 0;
    QTemporaryDir folder;
    QString savePath;
};

TEST_F(ScriptedSession, SoundsAndFilesStayAsRecorded)
{
    ASSERT_TRUE(folder.isValid());
    // Edits: notes of every value, accidentals, a chord of two lengths, a rest.
    put(1, 21);                                // quarter, middle C
    click(editor->Option1[NoteId::Half]);
    click(editor->Check2[0]);                  // sharp
    put(2, 19);
    click(editor->Check2[1]);                  // flat (the sharp goes)
    click(editor->Option1[NoteId::Quaver]);
    put(3, 17);
    click(editor->Check2[1]);                  // no accidental
    click(editor->Option1[NoteId::Whole]);
    put(4, 10);
    click(editor->Option1[NoteId::Quarter]);
    put(4, 20);
    click(editor->Option1[NoteId::QuaverPause]);
    put(5, 15);
    click(editor->Option1[NoteId::Semiquaver]);
    for (int w = 6; w <= 9; ++w)
        put(w, 24 - w);
    put(9, 15);                                // erased, and placed again
    put(9, 15);
    click(editor->Check4);                     // a gap before column 3
    mouse(editor->NoteContainerPbx, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {70, 60});
    mouse(editor->NoteContainerPbx, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {70, 60});
    click(editor->Check4);
    click(editor->Check1);                     // select columns 7..9 and move them up
    drag(16 * 7 + 30, 16 * 10 + 30);
    editor->mnuMoveUpItm->trigger();
    clock->run();

    // Instruments: a program, a drum sound, a program again.
    instrument(19);
    instrument(130);
    instrument(40);

    // A run with a Step inside it, paused; played on and stopped; then to the end.
    clock->at(clock->ms() + 200, [this] { click(editor->Command2); });
    clock->at(clock->ms() + 1000, [this] { click(editor->Command5); });
    click(editor->Command5);
    clock->at(clock->ms() + 300, [this] { click(editor->Command1); });
    click(editor->Command5);
    editor->HScroll2->setValue(150);
    click(editor->Command5);

    // Step through to the wrap, and the position strip pressed and dragged.
    for (int i = 0; i < 12; ++i)
        click(editor->Command2);
    strip(QEvent::MouseButtonPress, 59);
    strip(QEvent::MouseMove, 84);
    strip(QEvent::MouseMove, 100);
    strip(QEvent::MouseButtonRelease, 100);

    // Undo three steps and hear it, redo one and hear it.
    editor->EditUndo();
    editor->EditUndo();
    editor->EditUndo();
    click(editor->Command5);
    editor->EditRedo();
    click(editor->Command5);

    // Another device carries on with the chosen instrument.
    editor->Device_Click(2);
    put(12, 21);
    click(editor->Command5);

    save(QStringLiteral("session.txt"));
    save(QStringLiteral("session.mid"));
    save(QStringLiteral("session.musicxml"));

    editor->mnuExitItm_Click();
    EXPECT_EQ(endCount, 1);

    // On a difference the session's own output is left beside the test
    // program, to be compared with the recorded one.
    const QString actual = QDir::current().filePath(QStringLiteral("scripted_session.actual"));
    const auto differs = [&](const QString& name, const QByteArray& bytes) {
        const QByteArray golden = testfiles::readAll(GoldenFolder + QLatin1Char('/') + name);
        if (golden == bytes)
            return false;
        QDir().mkpath(actual);
        testfiles::writeFile(actual + QLatin1Char('/') + name, bytes);
        return true;
    };
    EXPECT_FALSE(differs(QStringLiteral("messages.txt"), midi.log.join(QLatin1Char('\n')).toUtf8() + '\n'))
        << "the session's messages are in " << actual.toStdString();
    for (const QString name : {QStringLiteral("session.txt"), QStringLiteral("session.mid"),
                               QStringLiteral("session.musicxml")})
        EXPECT_FALSE(differs(name, testfiles::readAll(folder.filePath(name))))
            << name.toStdString() << " differs; the saved file is in " << actual.toStdString();
}

} // namespace
