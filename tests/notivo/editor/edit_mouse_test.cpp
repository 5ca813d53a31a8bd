#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

#include "platform/raster/PictureBox.h"
#include "tests/notivo/editor/play_window_fixture.h"

using namespace notivo;
using namespace notivo::playtest;

namespace {

class EditMouse : public EditorRig {
protected:
    QRgb canvasPixel(int x, int y) { return e().NoteContainerPbx->image().pixel(x, y) | 0xFF000000u; }
    std::vector<int> row(int position, int first, int last)
    {
        std::vector<int> ids;
        for (int c = first; c <= last; ++c)
            ids.push_back(score.ScoreNotes.get(position, c));
        return ids;
    }
    void fillColumns(std::initializer_list<int> ids)
    {
        int c = 1;
        for (int id : ids)
            score.placeNote(21, c++, static_cast<std::uint8_t>(id), 0);
    }
};

TEST_F(EditMouse, PressPlacesAQuarterWithMiddleCAndASecondPressErasesIt)
{
    std::vector<std::uint32_t> sentWhenWaiting;
    clock->onWait = [&] { sentWhenWaiting = recorder.packedMessages(); };

    press({62, 118});
    EXPECT_EQ(score.ScoreNotes.get(21, 2), NoteId::Quarter);
    EXPECT_EQ(score.ScoreAccidentals.get(21, 2), 0);
    EXPECT_GE(score.ColumnCount, 2);
    EXPECT_EQ(sentWhenWaiting, (std::vector<std::uint32_t>{on(60)}));
    EXPECT_EQ(recorder.packedMessages(), (std::vector<std::uint32_t>{on(60), off(60)}));
    EXPECT_EQ(clock->waits, (std::vector<long long>{330}));
    EXPECT_EQ(e().Label3->text(), QStringLiteral("Do 2"));
    EXPECT_EQ(e().NoteContainerPbx->toolTip(), QStringLiteral("Do 2"));
    // The note is on the canvas at once: its head is black ink near (46 + 16, 120).
    bool inked = false;
    for (int x = 62; x < 74; ++x)
        inked = inked || qGray(canvasPixel(x, 120)) < 64;
    EXPECT_TRUE(inked);

    recorder.clear();
    score.ScoreAccidentals.set(21, 2, Accidental::Sharp);
    press({62, 118});
    EXPECT_EQ(score.ScoreNotes.get(21, 2), 0);
    EXPECT_EQ(score.ScoreAccidentals.get(21, 2), 0);
    EXPECT_EQ(recorder.packedMessages(), (std::vector<std::uint32_t>{on(60), off(60)}));
    EXPECT_EQ(clock->waits, (std::vector<long long>{330, 330}));
}

TEST_F(EditMouse, PreviewLengthFollowsTheNoteValueAndTheAccidentalItsPitch)
{
    struct Case { int id; bool sharp; bool flat; int key; long long ms; };
    const Case cases[] = {{1, false, false, 60, 110}, {2, true, false, 61, 220}, {4, false, true, 59, 440},
                          {5, true, true, 59, 550}};
    int column = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        e().Option1_Click(c.id);
        e().Check2[0]->setChecked(c.sharp);
        e().Check2[1]->setChecked(c.flat); // a flat wins: checking it unchecks the sharp
        recorder.clear();
        clock->waits.clear();
        press({46.0 + 16 * (column - 1), 118});
        EXPECT_EQ(recorder.packedMessages(), (std::vector<std::uint32_t>{on(c.key), off(c.key)}));
        EXPECT_EQ(clock->waits, (std::vector<long long>{c.ms}));
        EXPECT_EQ(score.ScoreAccidentals.get(21, column), c.flat ? 2 : (c.sharp ? 1 : 0));
        ++column;
    }
}

TEST_F(EditMouse, RestsClearTheirColumnSilentlyAndNotesRemoveRests)
{
    score.placeNote(10, 3, NoteId::Quarter, 0);
    score.placeNote(25, 3, NoteId::Half, 1);
    score.placeNote(21, 4, NoteId::Quarter, 0);

    e().Option1[10]->click();
    EXPECT_EQ(score.SelectedNoteId, 10);
    press({78, 48}); // (7, 3): an empty cell of column 3
    for (int p = 1; p <= 40; ++p)
        EXPECT_EQ(score.ScoreNotes.get(p, 3), p == RestPosition ? 10 : 0) << p;
    EXPECT_EQ(score.ScoreAccidentals.get(25, 3), 1); // accidentals stay
    press({94, 118}); // a note, with a rest selected: erased without sound
    EXPECT_EQ(score.ScoreNotes.get(21, 4), 0);
    EXPECT_TRUE(recorder.packedMessages().empty());
    EXPECT_TRUE(clock->waits.empty());

    e().Option1[3]->click();
    press({78, 63}); // a note into the rest column removes the rest
    EXPECT_EQ(score.ScoreNotes.get(10, 3), NoteId::Quarter);
    EXPECT_EQ(score.ScoreNotes.get(RestPosition, 3), 0);

    score.placeRest(5, NoteId::QuaverPause);
    recorder.clear();
    press({110, 88}); // on the rest's own cell: erased, the note palette still previews
    EXPECT_EQ(score.ScoreNotes.get(RestPosition, 5), 0);
    EXPECT_EQ(recorder.packedMessages(), (std::vector<std::uint32_t>{on(71), off(71)}));
}

TEST_F(EditMouse, EveryButtonEditsAlikeAndPressesOffTheStaffDoNothing)
{
    press({62, 118}, Qt::RightButton);
    EXPECT_EQ(score.ScoreNotes.get(21, 2), NoteId::Quarter);
    press({78, 118}, Qt::MiddleButton);
    EXPECT_EQ(score.ScoreNotes.get(21, 3), NoteId::Quarter);

    recorder.clear();
    const ScoreGrid before = score.ScoreNotes;
    const int count = score.ColumnCount;
    press({20, 118}); // w = round(-0.625) = -1
    press({62, 15});  // r = round(0.4) = 0
    EXPECT_EQ(score.ScoreNotes, before);
    EXPECT_EQ(score.ColumnCount, count);
    EXPECT_TRUE(recorder.packedMessages().empty());
}

TEST_F(EditMouse, PressClearsTheSelectionAndScrolledViewsWriteFurtherColumns)
{
    score.SelectionStart = 3;
    score.SelectionEnd = 6;
    e().HScroll1->setValue(10);
    press({62, 118});
    EXPECT_EQ(score.SelectionStart, 0);
    EXPECT_EQ(score.SelectionEnd, 0);
    EXPECT_EQ(score.ScoreNotes.get(21, 12), NoteId::Quarter);
    EXPECT_EQ(score.ColumnCount, 12);
    EXPECT_EQ(probe().selectionAnchorX(), 16 * 2 + 25);
    EXPECT_EQ(probe().selectionAnchorColumn(), 12);
}

TEST_F(EditMouse, InsertGapOpensAColumnAtTheMarker)
{
    fillColumns({1, 2, 3, 4});
    e().Check4->click();
    move({70, 30});
    EXPECT_EQ(canvasPixel(72, 30), qRgb(0, 0, 255));
    EXPECT_EQ(canvasPixel(72, 170), qRgb(0, 0, 255));

    press({70, 30}); // g = round(48 / 16) = 3
    EXPECT_EQ(row(21, 1, 6), (std::vector<int>{1, 2, 0, 3, 4, 0}));
    EXPECT_EQ(score.ColumnCount, 5);
    EXPECT_TRUE(recorder.packedMessages().empty());

    press({62, 30}); // g = round(2.5) = 2, halves to even
    EXPECT_EQ(row(21, 1, 6), (std::vector<int>{1, 0, 2, 0, 3, 4}));
    EXPECT_EQ(score.ColumnCount, 6);

    move({62, 30});
    EXPECT_EQ(canvasPixel(56, 30), qRgb(0, 0, 255));

    press({0, 30}); // far left: the gap goes before column 1
    EXPECT_EQ(row(21, 1, 7), (std::vector<int>{0, 1, 0, 2, 0, 3, 4}));
}

TEST_F(EditMouse, InsertGapNeverPushesANoteOutOfTheGrid)
{
    score.placeNote(21, 500, NoteId::Quarter, 0);
    score.placeNote(21, 1, NoteId::Half, 0);
    e().Check4->click();
    const ScoreGrid before = score.ScoreNotes;
    press({62, 30});
    EXPECT_EQ(score.ScoreNotes, before);
    EXPECT_EQ(score.ColumnCount, 500);

    // All columns counted, the last one empty: it makes room.
    score.eraseCell(21, 500);
    score.placeNote(21, 499, NoteId::Whole, 0);
    press({46, 30}); // g = round(1.5) = 2
    EXPECT_EQ(score.ScoreNotes.get(21, 500), NoteId::Whole);
    EXPECT_EQ(score.ScoreNotes.get(21, 1), NoteId::Half);
    EXPECT_EQ(score.ScoreNotes.get(21, 3), 0);
    EXPECT_EQ(score.ColumnCount, 500);
}

TEST_F(EditMouse, SelectDragsGiveTheColumnsBetweenAndLeaveTheMode)
{
    struct Case { double from; double to; int start; int end; };
    const Case cases[] = {{110, 62, 2, 4}, {62, 110, 2, 4}, {2, 78, 1, 2}, {78, 78, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        e().Check1->click();
        ASSERT_TRUE(e().Check1->isChecked());
        EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("Selection1.cur"));
        press({c.from, 50});
        EXPECT_EQ(score.SelectionStart, 0);
        move({c.to, 50}, Qt::LeftButton);
        release({c.to, 50});
        EXPECT_EQ(score.SelectionStart, c.start);
        EXPECT_EQ(score.SelectionEnd, c.end);
        EXPECT_FALSE(e().Check1->isChecked());
        EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("Animated.ani"));
    }
}

TEST_F(EditMouse, SelectionBandIsHalfTransparentBlueOverTheDraggedColumns)
{
    e().Check1->click();
    press({110, 50}); // band edge 105
    move({62, 50}, Qt::LeftButton); // band edge 57
    const QRgb inside = canvasPixel(60, 30);
    EXPECT_NEAR(qRed(inside), 127, 1);
    EXPECT_NEAR(qGreen(inside), 170, 1);
    EXPECT_EQ(qBlue(inside), 255);
    EXPECT_EQ(canvasPixel(56, 30), qRgb(255, 255, 255));
    EXPECT_EQ(canvasPixel(105, 30), qRgb(255, 255, 255));
    EXPECT_NE(canvasPixel(104, 176), qRgb(255, 255, 255)); // the full height

    const QImage before = e().NoteContainerPbx->image().copy();
    move({30, 50}); // no button held: nothing is drawn
    EXPECT_EQ(e().NoteContainerPbx->image(), before);
}

TEST_F(EditMouse, DraggingWithTheLeftButtonAtTheEdgesScrollsOneColumnPerMove)
{
    for (int i = 1; i <= 3; ++i) {
        move({515, 50}, Qt::LeftButton);
        EXPECT_EQ(e().HScroll1->value(), i);
    }
    move({515, 50}, Qt::RightButton);
    move({515, 50}, Qt::LeftButton | Qt::RightButton);
    move({515, 50});
    move({505, 50}, Qt::LeftButton);
    EXPECT_EQ(e().HScroll1->value(), 3);

    e().HScroll1->setValue(449);
    move({515, 50}, Qt::LeftButton);
    move({515, 50}, Qt::LeftButton);
    EXPECT_EQ(e().HScroll1->value(), 450);

    e().HScroll1->setValue(2);
    for (int expected : {1, 0, 0}) {
        move({10, 50}, Qt::LeftButton);
        EXPECT_EQ(e().HScroll1->value(), expected);
    }
}

TEST_F(EditMouse, PencilAndEraserFollowTheCellUnderThePointer)
{
    score.placeNote(21, 2, NoteId::Quarter, 0);
    ASSERT_TRUE(e().Check3->isChecked());
    probe().setCanvasCursorState(0);
    move({62, 118});
    EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("Erace.cur"));
    EXPECT_EQ(probe().canvasCursorState(), 1);

    probe().forgetCanvasCursorFile();
    move({63, 119}); // still over the note: nothing reloaded
    EXPECT_TRUE(probe().canvasCursorFile().isEmpty());

    move({78, 118});
    EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("Animated.ani"));
    EXPECT_EQ(probe().canvasCursorState(), 0);

    e().Option3[0]->click();
    EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("pencil.cur"));
    move({62, 118});
    move({78, 118});
    EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("pencil.cur"));

    // Without pencil cursors the drawing cursor stays, also over notes.
    e().Check3->setChecked(false);
    probe().forgetCanvasCursorFile();
    move({62, 118});
    EXPECT_TRUE(probe().canvasCursorFile().isEmpty());
}

TEST_F(EditMouse, NameOfTheNoteUnderThePointerWithThePalettesAccidental)
{
    move({62, 118});
    EXPECT_EQ(e().NoteContainerPbx->toolTip(), QStringLiteral("Do 2"));
    e().Check2[1]->click();
    move({62, 88});
    EXPECT_EQ(e().NoteContainerPbx->toolTip(), QStringLiteral("Tib 2"));
    EXPECT_EQ(e().Label3->text(), QStringLiteral("Tib 2"));
}

TEST_F(EditMouse, WhilePlayingTheLabelKeepsTheNamesOfTheRun)
{
    score.placeNote(19, 1, NoteId::Whole, 0);
    clock->at(20, [&] { move({62, 118}); });
    QString labelDuringRun;
    clock->at(30, [&] { labelDuringRun = e().Label3->text(); });
    e().Command5_Click();
    clock->run();
    EXPECT_EQ(labelDuringRun, QStringLiteral("Mi 2 "));
    move({62, 118});
    EXPECT_EQ(e().Label3->text(), QStringLiteral("Do 2"));
}

TEST_F(EditMouse, DeleteModeRemovesTheColumnUnderThePointerAndClosesTheSpace)
{
    fillColumns({1, 2, 3, 4});
    e().Check5->click();
    EXPECT_EQ(probe().canvasCursorFile(), QStringLiteral("Erace.cur"));
    move({62, 50});
    EXPECT_NE(canvasPixel(60, 30), qRgb(255, 255, 255)); // the column to go is marked
    press({62, 50});
    EXPECT_EQ(row(21, 1, 4), (std::vector<int>{1, 3, 4, 0}));
    EXPECT_EQ(score.ColumnCount, 3);
    EXPECT_TRUE(recorder.packedMessages().empty());

    press({110, 50}); // column 5: beyond the columns in use
    EXPECT_EQ(score.ColumnCount, 3);
    press({10, 50});
    EXPECT_EQ(score.ColumnCount, 3);
}

} // namespace
