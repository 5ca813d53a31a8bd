// The editor plays a full 500-column score at the fastest tempo on the real
// clock while a scripted stream of user actions runs inside the run's waits:
// presses on the staff (each with its own preview wait), Insert Gap, Select
// drags with Delete and Move Up/Down, New, Open, Save, Step, the position
// strip, Pause, Stop, instrument and device changes, and presses, drags and
// releases of every mouse button anywhere on the window's controls (the exit
// button and the Exit entry left out).  At the end no note is
// left sounding: every note-on has been followed by a note-off.
#include "tests/soak/SoakSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <memory>

#include "notivo/score/ScoreFile.h"
#include "notivo/score/ScoreModel.h"
#include "notivo/editor/frmEditor.h"
#include "notivo/widgets/XPTitleButton.h"
#include "platform/chrome/MessageBox.h"
#include "platform/chrome/ProgramFolder.h"
#include "platform/raster/PictureBox.h"
#include "tests/notivo/editor/EditorProbe.h"

namespace {

using notivo::Score;

QStringList& shownMessages()
{
    static QStringList shown;
    return shown;
}

// A score with every column in use: chords of notes of different lengths
// with accidentals, and now and then a rest.
Score randomScore(std::mt19937& rng, int columns)
{
    Score s;
    std::uniform_int_distribution<int> position(1, 30), id(1, 5), accidental(0, 2), chord(1, 3), dice(0, 9);
    for (int c = 1; c <= columns; ++c) {
        if (dice(rng) == 0) {
            s.placeRest(c, dice(rng) < 5 ? notivo::NoteId::QuarterPause : notivo::NoteId::QuaverPause);
            continue;
        }
        for (int n = chord(rng); n > 0; --n)
            s.placeNote(position(rng), c, std::uint8_t(id(rng)), std::uint8_t(accidental(rng)));
    }
    s.ColumnCount = columns;
    return s;
}

class NotivoSoak : public ::testing::TestWithParam<std::uint32_t> {
protected:
    void SetUp() override
    {
        shownMessages().clear();
        platform::setMessageSink([](const QString& text) { shownMessages().append(text); });
        // The real cursor files, so that their readers run under the sanitizers too.
        platform::setProgramFolderOverride(QStringLiteral(SOURCE_DIR "/notivo/resources/files"));
        ASSERT_TRUE(files.isValid());
        openPath = files.filePath("other.txt");
        savePath = files.filePath("saved.txt");
    }

    void TearDown() override
    {
        editor.reset();
        platform::setProgramFolderOverride(QString());
        platform::setMessageSink(nullptr);
    }

    int any(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

    static void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPointF pos)
    {
        QMouseEvent event(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }

    QPointF staffPoint() { return QPointF(any(0, 522), any(0, 176)); }

    void normalMode()
    {
        if (editor->Check1->isChecked())
            editor->Check1->click();
        if (editor->Check4->isChecked())
            editor->Check4->click();
    }

    // One press on the staff with a random palette choice; a note press
    // sounds its preview inside a wait of its own.
    void pressOnStaff()
    {
        normalMode();
        const int ids[] = {1, 2, 3, 4, 5, 10, 11};
        editor->Option1[ids[any(0, 6)]]->click();
        const int accidental = any(0, 2);
        if (accidental > 0 && !editor->Check2[accidental - 1]->isChecked())
            editor->Check2[accidental - 1]->click();
        else if (accidental == 0)
            for (QToolButton* b : editor->Check2)
                if (b->isChecked())
                    b->click();
        const QPointF at = staffPoint();
        const Qt::MouseButton button = any(0, 3) == 0 ? Qt::RightButton : Qt::LeftButton;
        mouse(editor->NoteContainerPbx, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
        mouse(editor->NoteContainerPbx, QEvent::MouseButtonPress, button, button, at);
        mouse(editor->NoteContainerPbx, QEvent::MouseButtonRelease, button, Qt::NoButton, at);
    }

    void insertGap()
    {
        if (!editor->Check4->isChecked())
            editor->Check4->click();
        const QPointF at = staffPoint();
        mouse(editor->NoteContainerPbx, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
        mouse(editor->NoteContainerPbx, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
        mouse(editor->NoteContainerPbx, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
        editor->Check4->click();
    }

    // A Select drag (past the edges now and then, which scrolls the view),
    // then one of the Edit commands on the selection.
    void selectAndEdit()
    {
        if (!editor->Check1->isChecked())
            editor->Check1->click();
        QPointF at = staffPoint();
        mouse(editor->NoteContainerPbx, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
        for (int i = any(1, 6); i > 0; --i) {
            at = QPointF(any(-20, 540), at.y());
            mouse(editor->NoteContainerPbx, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, at);
        }
        mouse(editor->NoteContainerPbx, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
        QAction* commands[] = {editor->mnuDeleteItm, editor->mnuMoveUpItm, editor->mnuMoveDownItm};
        for (int i = any(0, 3); i > 0; --i)
            commands[any(0, 2)]->trigger();
    }

    void strip()
    {
        QPointF at(any(0, 540), 4);
        mouse(editor->Picture6, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
        if (any(0, 1)) {
            at = QPointF(any(0, 540), 4);
            mouse(editor->Picture6, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, at);
        }
        mouse(editor->Picture6, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
    }

    // One scripted action, run by a timer between the continuations of the run and the previews.
    void act()
    {
        if (!editor || ending || depth >= 2)
            return; // a hand can only be so busy: at most two actions under way at once
        if (std::chrono::steady_clock::now() > deadline) {
            // Time is up: stop the run, or close the window while it plays.
            ending = true;
            if (closeWhilePlaying)
                editor->close();
            else
                editor->Command1->click();
            return;
        }
        ++depth;
        ++actions;
        const int r = any(0, 999);
        if (r < 300)
            pressOnStaff();
        else if (r < 380)
            insertGap();
        else if (r < 500)
            selectAndEdit();
        else if (r < 520)
            editor->mnuNewItm->trigger();
        else if (r < 540)
            editor->mnuOpenItm->trigger();
        else if (r < 550)
            editor->mnuSaveItm->trigger();
        else if (r < 600)
            editor->Command2->click(); // Step
        else if (r < 650)
            strip();
        else if (r < 700)
            editor->Command5->click(); // Pause while a run goes, Play otherwise
        else if (r < 720)
            editor->Command1->click(); // Stop
        else if (r < 760)
            editor->HScroll1->setValue(any(0, editor->HScroll1->maximum()));
        else if (r < 800) {
            // Mostly programs, sometimes a drum sound (another channel and key).
            const int entry = any(0, 3) == 0 ? any(128, editor->Combo1->count() - 1) : any(0, 127);
            editor->Combo1->setCurrentIndex(entry);
            editor->Combo1_Click(0);
        } else if (r < 810)
            editor->Device_Click(any(0, int(editor->Device.size()) - 1));
        else if (r < 950)
            hand->gesture();
        else
            mouse(editor->NoteContainerPbx, QEvent::MouseMove, Qt::NoButton,
                  any(0, 1) ? Qt::LeftButton : Qt::NoButton, QPointF(any(-10, 540), any(0, 176)));
        --depth;
        std::fflush(stdout);
    }

    platform::midi::RecorderMidiService recorder{2};
    std::mt19937 rng{soak::announce("notivo_soak", GetParam())};
    QTemporaryDir files;
    QString openPath, savePath;
    Score score;
    std::unique_ptr<notivo::frmEditor> editor;
    std::unique_ptr<soak::RandomMouse> hand;
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::now() + soak::duration();
    int depth = 0;
    bool ending = false;
    bool closeWhilePlaying = false;
    long actions = 0;
};

TEST_P(NotivoSoak, EditsDuringFastPlayLeaveNoNoteSounding)
{
    ASSERT_TRUE(notivo::saveScoreFile(randomScore(rng, 300), openPath));
    score = randomScore(rng, notivo::ScoreColumns);

    int ended = 0;
    notivo::EditorServices services;
    services.endProgram = [&ended] { ++ended; };
    services.chooseOpenFile = [this](QWidget*, const QString&) { return openPath; };
    services.chooseSaveFile = [this](QWidget*, const QString&) { return savePath; };
    services.showPrintDialog = [](QWidget*, Score&) {};
    services.showPrintPreview = [](QWidget*, Score&) {};
    services.showAbout = [](QWidget*) {};
    services.midi = &recorder;
    editor = std::make_unique<notivo::frmEditor>(score, std::move(services));
    const notivo::EditorProbe probe(*editor);
    ASSERT_TRUE(editor->Form_Load());
    editor->show();
    editor->HScroll2->setValue(180);
    hand = std::make_unique<soak::RandomMouse>(editor.get(), rng, [this](const QWidget* w) {
        return w == editor->XPTitleButton2; // the close button
    });
    soak::PopupHand menus(rng, [this](const QAction* a) { return a != editor->mnuExitItm; });
    ASSERT_EQ(score.ColumnCount, 500);

    QTimer script;
    script.setSingleShot(true);
    QObject::connect(&script, &QTimer::timeout, [&] {
        act();
        script.start(any(20, 150));
    });
    script.start(10);

    closeWhilePlaying = any(0, 1) == 1;
    std::printf("notivo_soak: the window closes %s\n", closeWhilePlaying ? "while the score plays" : "after Stop");
    deadline = std::chrono::steady_clock::now() + soak::duration();
    long runs = 0;
    // The script ends it all once the time is up; the bound only guards against a script that never runs.
    while ((!ending || probe.playing()) && std::chrono::steady_clock::now() < deadline + std::chrono::seconds(60)) {
        if (!ending && !probe.playing()) {
            ++runs;
            editor->Command5->click(); // the run goes on in the event loop until Pause, Stop or the end
        }
        if (score.ColumnCount == 0) {
            ASSERT_TRUE(notivo::loadScoreFile(score, openPath)); // New left nothing to play
            editor->DisplayPentagramNotes(true);
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    // The run has ended and whatever was under way has wound up.
    script.stop();
    EXPECT_TRUE(ending);
    EXPECT_FALSE(probe.playing());
    QEventLoop settle;
    QTimer::singleShot(700, &settle, &QEventLoop::quit); // longer than any preview or step
    settle.exec();

    // The player strikes a held note again without a note-off in between
    // (a longer note in a chord after a shorter one ended): the one note-off
    // then releases the key.
    if (!closeWhilePlaying) {
        for (const std::string& p : soak::unmatchedNotes(soak::notes(recorder), soak::Pairing::OffReleasesTheKey))
            ADD_FAILURE() << "after Stop: " << p;
        editor->close();
    }
    for (const std::string& p : soak::unmatchedNotes(soak::notes(recorder), soak::Pairing::OffReleasesTheKey))
        ADD_FAILURE() << "after closing: " << p;
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(recorder.openCount(), 0);
    long noteOns = 0;
    for (const soak::Note& n : soak::notes(recorder))
        noteOns += n.on;
    std::printf("notivo_soak: %ld runs, %ld actions, %ld mouse gestures, %ld pop-ups, %ld note-ons, %zu messages, "
                "%lld message boxes\n",
                runs, actions, hand->gestures(), menus.answered(), noteOns, recorder.messages().size(),
                static_cast<long long>(shownMessages().size()));
    // Guards against a soak that did nothing (the waits of the actions hold the run up).
    EXPECT_GT(noteOns, 100);
    EXPECT_GT(actions, 50);
}

INSTANTIATE_TEST_SUITE_P(Seeds, NotivoSoak, ::testing::ValuesIn(soak::seeds({})));

} // namespace
