#include <QIcon>

#include "tests/notivo/editor/play_window_fixture.h"

using namespace notivo;
using namespace notivo::playtest;

namespace {

using PaletteModes = EditorRig;

TEST_F(PaletteModes, StartsWithQuarterNaturalNormalModeAndAnimatedCursorOption)
{
    EXPECT_EQ(score.SelectedNoteId, NoteId::Quarter);
    EXPECT_TRUE(e().Option1[3]->isChecked());
    EXPECT_FALSE(e().Check2[0]->isChecked() || e().Check2[1]->isChecked());
    EXPECT_FALSE(e().Check1->isChecked() || e().Check4->isChecked() || e().Check5->isChecked());
    EXPECT_TRUE(e().Check3->isChecked());
    EXPECT_TRUE(e().Option3[1]->isChecked());
}

TEST_F(PaletteModes, EveryNoteButtonSetsItsIdAndShowsItsPicture)
{
    for (int id : {1, 2, 3, 4, 5, 10, 11}) {
        SCOPED_TRACE(id);
        QToolButton* button = e().Option1[id];
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->icon().isNull());
        button->click();
        EXPECT_EQ(score.SelectedNoteId, id);
        EXPECT_TRUE(button->isChecked());
    }
    for (QToolButton* box : {e().Check2[0], e().Check2[1], e().Check1, e().Check4, e().Check5, e().Option3[0], e().Option3[1]})
        EXPECT_FALSE(box->icon().isNull()) << box->objectName().toStdString();
}

TEST_F(PaletteModes, SharpAndFlatExcludeEachOtherButMayBothBeOff)
{
    QToolButton* sharp = e().Check2[0];
    QToolButton* flat = e().Check2[1];
    sharp->click();
    EXPECT_TRUE(sharp->isChecked());
    flat->click();
    EXPECT_TRUE(flat->isChecked());
    EXPECT_FALSE(sharp->isChecked());
    flat->click();
    EXPECT_FALSE(flat->isChecked());
    EXPECT_FALSE(sharp->isChecked());
    flat->click();
    sharp->click();
    EXPECT_TRUE(sharp->isChecked());
    EXPECT_FALSE(flat->isChecked());
}

TEST_F(PaletteModes, ModeBoxesExcludeEachOtherAndInstallTheirCursors)
{
    // Each step: the box clicked, the boxes checked after it, the canvas cursor.
    struct Step { QToolButton* frmEditor::*box; bool select; bool gap; bool del; const char* cursor; };
    const Step steps[] = {
        {&frmEditor::Check1, true, false, false, "Selection1.cur"},
        {&frmEditor::Check4, false, true, false, "RurUzezize/RurUzezize Alternate2.ani"},
        {&frmEditor::Check1, true, false, false, "Selection1.cur"},
        {&frmEditor::Check1, false, false, false, "Animated.ani"},
        {&frmEditor::Check4, false, true, false, "RurUzezize/RurUzezize Alternate2.ani"},
        {&frmEditor::Check4, false, false, false, "RurUzezize/Animated.ani"},
        {&frmEditor::Check5, false, false, true, "Erace.cur"},
        {&frmEditor::Check4, false, true, false, "RurUzezize/RurUzezize Alternate2.ani"},
        {&frmEditor::Check5, false, false, true, "Erace.cur"},
        {&frmEditor::Check1, true, false, false, "Selection1.cur"},
        {&frmEditor::Check5, false, false, true, "Erace.cur"},
        {&frmEditor::Check5, false, false, false, "Animated.ani"},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(n++);
        (e().*s.box)->click();
        EXPECT_EQ(e().Check1->isChecked(), s.select);
        EXPECT_EQ(e().Check4->isChecked(), s.gap);
        EXPECT_EQ(e().Check5->isChecked(), s.del);
        EXPECT_EQ(probe().canvasCursorFile(), QString::fromLatin1(s.cursor));
    }
}

TEST_F(PaletteModes, LeavingInsertGapForSelectRunsTheGapBoxHandlerFirst)
{
    e().Check4->click();
    std::vector<QString> installed;
    QObject::connect(e().Check4, &QToolButton::toggled, [&] { installed.push_back(probe().canvasCursorFile()); });
    e().Check1->click();
    EXPECT_EQ(installed, (std::vector<QString>{QStringLiteral("RurUzezize/Animated.ani")}));
    EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("Selection1.cur"));
}

TEST_F(PaletteModes, AfterASelectionDragTheAnimatedCursorShowsWhicheverOptionIsChosen)
{
    e().Option3[0]->click();
    EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("pencil.cur"));
    e().Check1->click();
    press({62, 50});
    release({110, 50});
    EXPECT_FALSE(e().Check1->isChecked());
    EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("Animated.ani"));
    e().Option3[1]->click();
    EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("Animated.ani"));
}

TEST_F(PaletteModes, ARestInThePaletteSilencesThePreview)
{
    e().Option1[11]->click();
    press({62, 118});
    EXPECT_EQ(score.ScoreNotes.get(RestPosition, 2), NoteId::QuaverPause);
    EXPECT_TRUE(recorder.packedMessages().empty());
    e().Option1[2]->click();
    press({78, 118});
    EXPECT_EQ(recorder.packedMessages(), (std::vector<std::uint32_t>{on(60), off(60)}));
    EXPECT_EQ(clock->waits, (std::vector<long long>{220}));
}

} // namespace
