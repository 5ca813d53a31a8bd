#include "notivo/score/ScoreHistory.h"
#include "notivo/score/ScoreFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace notivo;

namespace {

// Notes, a rest, accidentals (one stale, under no note) and a selection.
Score startingScore()
{
    Score s;
    s.placeNote(10, 1, NoteId::Quarter, Accidental::Sharp);
    s.placeNote(12, 2, NoteId::Half, Accidental::None);
    s.placeNote(20, 2, NoteId::Whole, Accidental::Flat);
    s.placeRest(3, NoteId::QuaverPause);
    s.placeNote(21, 4, NoteId::Semiquaver, Accidental::None);
    s.ScoreAccidentals.set(30, 4, Accidental::Sharp);
    s.SelectionStart = 2;
    s.SelectionEnd = 3;
    return s;
}

void expectSame(const Score& actual, const Score& expected)
{
    EXPECT_EQ(actual.ScoreNotes, expected.ScoreNotes);
    EXPECT_EQ(actual.ScoreAccidentals, expected.ScoreAccidentals);
    EXPECT_EQ(actual.ColumnCount, expected.ColumnCount);
    EXPECT_EQ(actual.SelectionStart, expected.SelectionStart);
    EXPECT_EQ(actual.SelectionEnd, expected.SelectionEnd);
}

} // namespace

TEST(ScoreHistory, EveryKindOfChangeIsUndoneAndRedoneExactly)
{
    struct Case {
        std::string name;
        std::function<void(Score&)> change;
        int firstColumn; // the first column the step touched
    };
    const Case cases[] = {
        {"place a note (the press clears the selection)",
         [](Score& s) { s.SelectionStart = s.SelectionEnd = 0; s.placeNote(5, 7, NoteId::Quaver, Accidental::Flat); }, 7},
        {"place a rest over a chord", [](Score& s) { s.placeRest(2, NoteId::QuarterPause); }, 2},
        {"erase a note and its accidental", [](Score& s) { s.eraseCell(10, 1); }, 1},
        {"insert a gap", [](Score& s) { s.insertGap(2); }, 2},
        {"insert a gap after the notes (only ColumnCount changes)", [](Score& s) { s.insertGap(5); }, 0},
        {"delete the selection", [](Score& s) { s.deleteSelection(); }, 2},
        {"move the selection up", [](Score& s) { s.moveSelectionUp(); }, 2},
        {"move the selection down", [](Score& s) { s.moveSelectionDown(); }, 2},
        {"New", [](Score& s) { s.clearScore(); }, 1},
        {"Open", [](Score& s) { readScore(s, "Tone01: 0003\r\n\r\nSharps: 1,4 \r\nFlats: \r\n"); }, 1},
        {"Open of a file that is not valid", [](Score& s) { readScore(s, "Tone01: 3\r\nTone02: 1 2\r\n"); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Score score = startingScore();
        const Score before = score;
        ScoreHistory history;
        {
            ScoreChange change(history, score);
            c.change(score);
        }
        const Score after = score;
        ASSERT_EQ(history.undoCount(), 1u);

        const auto undone = history.undo(score);
        ASSERT_TRUE(undone);
        EXPECT_EQ(undone->firstColumn, c.firstColumn);
        expectSame(score, before);
        EXPECT_FALSE(history.canUndo());

        ASSERT_TRUE(history.redo(score));
        expectSame(score, after);
        EXPECT_FALSE(history.canRedo());
        ASSERT_TRUE(history.undo(score));
        expectSame(score, before);
    }
}

TEST(ScoreHistory, OnlyRealChangesMakeStepsAndANewStepEndsRedo)
{
    Score score = startingScore();
    ScoreHistory history;
    {
        ScoreChange selectionOnly(history, score);
        score.SelectionStart = 4;
        score.SelectionEnd = 4;
    }
    {
        ScoreChange nothing(history, score);
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo(score));
    EXPECT_FALSE(history.redo(score));

    // A gap beyond the notes moves only empty cells: ColumnCount alone changes.
    {
        ScoreChange gap(history, score);
        score.insertGap(score.ColumnCount + 1);
    }
    ASSERT_EQ(history.undoCount(), 1u);
    ASSERT_TRUE(history.undo(score));
    EXPECT_EQ(score.ColumnCount, 4);
    EXPECT_TRUE(history.canRedo());

    ScoreChange(history, score).done();
    EXPECT_TRUE(history.canRedo()) << "a step that changed nothing keeps redo";
    {
        ScoreChange note(history, score);
        score.placeNote(1, 1, NoteId::Quaver, Accidental::None);
    }
    EXPECT_FALSE(history.canRedo());
}

TEST(ScoreHistory, ADragIsOneStepAndAnUndoInsideItClosesItFirst)
{
    Score score = startingScore();
    const Score before = score;
    ScoreHistory history;
    {
        ScoreChange selectionOnly(history, score); // a selection drag changes no note
        score.SelectionStart = score.SelectionEnd = 4;
    }
    EXPECT_FALSE(history.undo(score));
    score.SelectionStart = before.SelectionStart;
    score.SelectionEnd = before.SelectionEnd;

    history.begin(score); // the press
    for (int c = 6; c <= 9; ++c) {
        ScoreChange edit(history, score);
        score.placeNote(15 + c, c, NoteId::Quarter, Accidental::Sharp);
    }
    EXPECT_TRUE(history.isOpen());
    EXPECT_FALSE(history.canUndo());
    history.end(score); // the release
    ASSERT_EQ(history.undoCount(), 1u);
    ASSERT_TRUE(history.undo(score));
    expectSame(score, before);

    // Undo while a drag is still open takes back what the drag did so far;
    // the release that follows closes nothing more.
    history.begin(score);
    score.placeNote(5, 5, NoteId::Half, Accidental::None);
    ASSERT_TRUE(history.undo(score));
    EXPECT_EQ(score.ScoreNotes.get(5, 5), 0);
    EXPECT_FALSE(history.isOpen());
    history.end(score);
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.redoCount(), 1u);

    // A command of its own is never folded into an open drag.
    history.begin(score);
    score.placeNote(6, 6, NoteId::Half, Accidental::None);
    {
        ScoreChange command(history, score, ScoreChange::Join::Separate);
        score.clearScore();
    }
    history.end(score);
    EXPECT_EQ(history.undoCount(), 2u);
    ASSERT_TRUE(history.undo(score));
    EXPECT_EQ(score.ScoreNotes.get(6, 6), NoteId::Half);
}

TEST(ScoreHistory, KeepsTheLastThousandStepsInMemoryProportionalToTheChange)
{
    Score score;
    ScoreHistory history;
    EXPECT_EQ(history.limit(), 1000u);
    for (int i = 0; i < 1001; ++i) {
        ScoreChange change(history, score);
        score.placeNote(1 + i % 30, 1 + i / 30, NoteId::Quarter, Accidental::None);
    }
    EXPECT_EQ(history.undoCount(), 1000u);
    // A one-note step costs a small fraction of one copy of both grids (40 KB).
    const std::size_t singleNotes = history.byteCount();
    EXPECT_LT(singleNotes, 1000u * 400u + sizeof(ScoreGrid) * 2 + 4096);

    int undone = 0;
    while (history.undo(score))
        ++undone;
    EXPECT_EQ(undone, 1000);
    // The first note was the step dropped to keep the limit.
    EXPECT_EQ(score.ScoreNotes.get(1, 1), NoteId::Quarter);
    EXPECT_EQ(score.ScoreNotes.get(2, 1), 0);

    // A move of 500 columns keeps 500 columns, not a copy per column moved twice.
    Score wide;
    for (int c = 1; c <= ScoreColumns; ++c)
        wide.placeNote(20, c, NoteId::Quarter, Accidental::None);
    wide.SelectionStart = 1;
    wide.SelectionEnd = ScoreColumns;
    ScoreHistory moves;
    const std::size_t empty = moves.byteCount();
    {
        ScoreChange change(moves, wide);
        wide.moveSelectionDown();
    }
    const std::size_t perColumn = (moves.byteCount() - empty - sizeof(ScoreGrid) * 2) / ScoreColumns;
    EXPECT_GE(perColumn, 2u * ScorePositions);
    EXPECT_LT(perColumn, 4u * ScorePositions);
}
