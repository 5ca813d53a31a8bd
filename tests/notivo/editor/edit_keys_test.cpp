#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "notivo/printing/PrintPreview.h"
#include "tests/notivo/editor/play_window_fixture.h"

using namespace notivo;
using namespace notivo::playtest;

namespace {

// The editor shown and active, worked with key presses that go the way the
// window system delivers them (shortcuts first, then the focused control).
class EditKeys : public EditorRig {
protected:
    void SetUp() override
    {
        EditorRig::SetUp();
        chooseOpenFile = [this](QWidget*, const QString&) { ++openDialogs; return QString(); };
        chooseSaveFile = [this](QWidget*, const QString&) { ++saveDialogs; return QString(); };
        showPrintDialog = [this](QWidget*, Score&) { ++printDialogs; };
        e().show();
        e().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&e()));
    }
    // A key typed, and the waits it started gone by.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(e().windowHandle(), k, modifiers);
        clock->run();
    }
    // A click on the staff at window column w, staff position r.
    void click(int w, int r)
    {
        const QPointF at(16.0 * w + 30, 5.0 * r + 13);
        press(at);
        release(at);
    }
    QList<PrintPreview*> previews() const
    {
        return editor->findChildren<PrintPreview*>(QString(), Qt::FindDirectChildrenOnly);
    }

    int openDialogs = 0;
    int saveDialogs = 0;
    int printDialogs = 0;
};

TEST_F(EditKeys, UndoAndRedoTakeBackEachClickNewAndTheMenuCommands)
{
    click(1, 21);
    click(2, 19);
    click(3, 17);
    const Score three = score;
    ASSERT_EQ(score.ColumnCount, 3);

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(score.ScoreNotes.get(17, 3), 0);
    EXPECT_EQ(score.ScoreNotes.get(19, 2), NoteId::Quarter);
    EXPECT_EQ(score.ColumnCount, 2);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(score.ScoreNotes, three.ScoreNotes);
    EXPECT_EQ(score.ColumnCount, 3);
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(score.ScoreNotes, three.ScoreNotes);

    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(score.ColumnCount, 0);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(score.ScoreNotes, three.ScoreNotes);
    EXPECT_EQ(score.ColumnCount, 3);

    // Delete and the moves act on the selection, each one step.
    score.SelectionStart = 1;
    score.SelectionEnd = 2;
    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(score.ScoreNotes.get(22, 1), NoteId::Quarter);
    key(Qt::Key_Up, Qt::ControlModifier);
    key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(score.ScoreNotes.get(20, 1), NoteId::Quarter);
    key(Qt::Key_Delete);
    EXPECT_EQ(score.ScoreNotes.get(20, 1), 0);
    for (int i = 0; i < 4; ++i)
        key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(score.ScoreNotes, three.ScoreNotes);
    EXPECT_EQ(score.SelectionStart, 1);
    EXPECT_EQ(score.SelectionEnd, 2);

    // A change out of sight comes back into view.
    e().HScroll1->setValue(40);
    click(2, 21); // column 42
    key(Qt::Key_Home);
    EXPECT_EQ(e().HScroll1->value(), 0);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(score.ScoreNotes.get(21, 42), 0);
    EXPECT_EQ(e().HScroll1->value(), 41);
}

TEST_F(EditKeys, PaletteAccidentalsScrollingAndFileCommandsRunTheMouseHandlers)
{
    struct PaletteKey { Qt::Key key; int id; };
    const PaletteKey palette[] = {{Qt::Key_1, 1}, {Qt::Key_2, 2}, {Qt::Key_3, 3}, {Qt::Key_4, 4},
                                  {Qt::Key_5, 5}, {Qt::Key_6, NoteId::QuaverPause}, {Qt::Key_7, NoteId::QuarterPause}};
    for (const PaletteKey& p : palette) {
        key(p.key);
        EXPECT_EQ(score.SelectedNoteId, p.id) << p.id;
        EXPECT_TRUE(e().Option1[p.id]->isChecked()) << p.id;
    }

    key(Qt::Key_S);
    EXPECT_TRUE(e().Check2[0]->isChecked());
    key(Qt::Key_F);
    EXPECT_TRUE(e().Check2[1]->isChecked());
    EXPECT_FALSE(e().Check2[0]->isChecked()) << "the flat box's handler unchecks the sharp";
    key(Qt::Key_F);
    EXPECT_FALSE(e().Check2[1]->isChecked());

    struct ScrollKey { Qt::Key key; int value; };
    const ScrollKey scrolls[] = {{Qt::Key_Right, 1}, {Qt::Key_Right, 2}, {Qt::Key_Left, 1},
                                 {Qt::Key_End, 450}, {Qt::Key_Left, 449},
                                 {Qt::Key_PageUp, 449 - e().HScroll1->pageStep()}, {Qt::Key_Home, 0},
                                 {Qt::Key_PageDown, e().HScroll1->pageStep()}};
    for (const ScrollKey& s : scrolls) {
        key(s.key);
        EXPECT_EQ(e().HScroll1->value(), s.value) << s.key;
    }

    key(Qt::Key_O, Qt::ControlModifier);
    key(Qt::Key_S, Qt::ControlModifier);
    key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(openDialogs, 1);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_EQ(printDialogs, 1);

    // One print preview, brought back and redrawn by a second command.
    key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(previews().size(), 1);
    const QImage emptyPage = previews()[0]->Picture1->image();
    score.placeNote(15, 1, NoteId::Whole, Accidental::None);
    e().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&e()));
    key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(previews().size(), 1);
    EXPECT_NE(previews()[0]->Picture1->image(), emptyPage);

    e().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&e()));
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(endCount, 1);
}

TEST_F(EditKeys, SpacePlaysEscapeStopsAndPeriodSteps)
{
    for (int c = 1; c <= 4; ++c)
        score.placeNote(21, c, NoteId::Quarter, Accidental::None);
    // Escape during the second column: the run ends after the pass under way and rewinds.
    clock->at(300, [this] { key(Qt::Key_Escape); });
    key(Qt::Key_Space);
    EXPECT_FALSE(probe().playing());
    EXPECT_EQ(probe().playback().PlayPosition(), 1);
    EXPECT_EQ(recorder.packedMessages()[0], on(60));
    EXPECT_EQ(clock->ms(), 360) << "a quarter of three 90 ms passes, then the pass under way at the stop";

    recorder.clear();
    key(Qt::Key_Period);
    EXPECT_EQ(probe().playback().LastStepColumn(), 2);
    EXPECT_EQ(e().Label3->text(), QStringLiteral("Do 2 "));
}

} // namespace
