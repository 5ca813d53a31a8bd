#include "notivo/score/ScoreModel.h"

#include <gtest/gtest.h>

using namespace notivo;

namespace {

// A score with a few notes, rests and accidentals spread over five columns.
Score sampleScore()
{
    Score s;
    s.ScoreNotes.set(1, 1, NoteId::Quarter);
    s.ScoreNotes.set(10, 2, NoteId::Half);
    s.ScoreAccidentals.set(10, 2, Accidental::Sharp);
    s.ScoreNotes.set(40, 2, NoteId::Whole);
    s.ScoreNotes.set(RestPosition, 3, NoteId::QuarterPause);
    s.ScoreNotes.set(21, 4, NoteId::Semiquaver);
    s.ScoreAccidentals.set(21, 4, Accidental::Flat);
    s.ScoreNotes.set(5, 5, NoteId::Quaver);
    s.ColumnCount = 5;
    return s;
}

} // namespace

TEST(ScoreModel, FreshScoreIsEmptyAndNewChangesNothing)
{
    Score s;
    EXPECT_EQ(s.ColumnCount, 0);
    EXPECT_EQ(s.SelectionStart, 0);
    EXPECT_EQ(s.SelectionEnd, 0);
    EXPECT_EQ(s.SelectedNoteId, NoteId::Quarter);
    EXPECT_TRUE(s.ScoreNotes.isClear());
    EXPECT_TRUE(s.ScoreAccidentals.isClear());
    s.clearScore();
    EXPECT_EQ(s.ColumnCount, 0);
    EXPECT_TRUE(s.ScoreNotes.isClear());
}

TEST(ScoreModel, CellsAreStoredColumnMajor)
{
    Score s;
    s.ScoreNotes.set(7, 3, 5);
    s.ScoreNotes.set(40, 500, 11);
    EXPECT_EQ(s.ScoreNotes.cells()[(3 - 1) * 40 + (7 - 1)], 5);
    EXPECT_EQ(s.ScoreNotes.cells()[500 * 40 - 1], 11);
    EXPECT_EQ(s.ScoreNotes.column(3)[6], 5);
}

TEST(ScoreModel, AccessOutsideTheGridIsRefused)
{
    Score s;
    const std::pair<int, int> outside[] = {{0, 1}, {41, 1}, {1, 0}, {1, 501}, {-3, 2}, {15, -1}, {100000, 100000}};
    for (auto [p, c] : outside) {
        EXPECT_FALSE(s.ScoreNotes.set(p, c, 3)) << p << "," << c;
        EXPECT_EQ(s.ScoreNotes.get(p, c), 0);
        EXPECT_FALSE(s.placeNote(p, c, 3, 1));
        EXPECT_FALSE(s.eraseCell(p, c));
    }
    EXPECT_FALSE(s.placeRest(0, 10));
    EXPECT_FALSE(s.placeRest(501, 10));
    EXPECT_TRUE(s.ScoreNotes.isClear());
    EXPECT_TRUE(s.ScoreAccidentals.isClear());
    EXPECT_EQ(s.ColumnCount, 0);
    EXPECT_TRUE(s.ScoreNotes.set(40, 500, 1));
}

TEST(ScoreModel, NewClearsNotesButKeepsAccidentals)
{
    Score s = sampleScore();
    const ScoreGrid accidentals = s.ScoreAccidentals;
    s.clearScore();
    EXPECT_EQ(s.ColumnCount, 0);
    EXPECT_TRUE(s.ScoreNotes.isClear());
    EXPECT_EQ(s.ScoreAccidentals, accidentals);
}

TEST(ScoreModel, ResetForLoadClearsEverything)
{
    Score s = sampleScore();
    s.ScoreNotes.set(3, 499, 2); // also beyond ColumnCount
    s.resetForLoad();
    EXPECT_EQ(s.ColumnCount, 0);
    EXPECT_TRUE(s.ScoreNotes.isClear());
    EXPECT_TRUE(s.ScoreAccidentals.isClear());
}

TEST(ScoreModel, DeleteSelectionClearsPositions1To39Only)
{
    Score s = sampleScore();
    const Score before = s;
    EXPECT_FALSE(s.deleteSelection()); // no selection: nothing, not even a redraw
    EXPECT_EQ(s.ScoreNotes, before.ScoreNotes);

    s.SelectionStart = 2;
    s.SelectionEnd = 3;
    EXPECT_TRUE(s.deleteSelection());
    for (int p = 1; p <= 39; ++p) {
        EXPECT_EQ(s.ScoreNotes.get(p, 2), 0);
        EXPECT_EQ(s.ScoreNotes.get(p, 3), 0);
    }
    EXPECT_EQ(s.ScoreNotes.get(40, 2), NoteId::Whole);
    EXPECT_EQ(s.ScoreAccidentals, before.ScoreAccidentals);
    EXPECT_EQ(s.ScoreNotes.get(1, 1), NoteId::Quarter);
    EXPECT_EQ(s.ScoreNotes.get(21, 4), NoteId::Semiquaver);
    EXPECT_EQ(s.ColumnCount, 5);
}

TEST(ScoreModel, ReversedOrOutOfGridSelectionsAreSafe)
{
    Score s = sampleScore();
    const Score before = s;
    s.SelectionStart = 4;
    s.SelectionEnd = 3; // a release on the pressed column: an empty range
    EXPECT_TRUE(s.deleteSelection());
    EXPECT_TRUE(s.moveSelectionUp());
    EXPECT_TRUE(s.moveSelectionDown());
    EXPECT_EQ(s.ScoreNotes, before.ScoreNotes);

    s.SelectionStart = -2;
    s.SelectionEnd = 1;
    EXPECT_TRUE(s.deleteSelection());
    EXPECT_EQ(s.ScoreNotes.get(1, 1), 0);
    EXPECT_EQ(s.ScoreNotes.get(10, 2), NoteId::Half);

    s.ScoreNotes.set(20, 500, NoteId::Quarter);
    s.SelectionStart = 499;
    s.SelectionEnd = 32000;
    EXPECT_TRUE(s.moveSelectionUp());
    EXPECT_EQ(s.ScoreNotes.get(19, 500), NoteId::Quarter);
}

TEST(ScoreModel, MoveUpKeepsTheBottomAndLeavesAccidentals)
{
    Score s;
    s.ScoreNotes.set(40, 1, NoteId::Quarter);
    s.ScoreNotes.set(10, 2, NoteId::Half);
    s.ScoreAccidentals.set(10, 2, Accidental::Sharp);
    s.ScoreNotes.set(1, 2, NoteId::Quaver); // shifted out of the top
    s.ScoreNotes.set(5, 3, NoteId::Whole);  // outside the selection
    s.ColumnCount = 3;
    s.SelectionStart = 1;
    s.SelectionEnd = 2;
    EXPECT_TRUE(s.moveSelectionUp());
    EXPECT_EQ(s.ScoreNotes.get(40, 1), NoteId::Quarter);
    EXPECT_EQ(s.ScoreNotes.get(39, 1), NoteId::Quarter);
    EXPECT_EQ(s.ScoreNotes.get(9, 2), NoteId::Half);
    EXPECT_EQ(s.ScoreNotes.get(10, 2), 0);
    EXPECT_EQ(s.ScoreNotes.get(1, 2), 0);
    EXPECT_EQ(s.ScoreAccidentals.get(10, 2), Accidental::Sharp);
    EXPECT_EQ(s.ScoreAccidentals.get(9, 2), Accidental::None);
    EXPECT_EQ(s.ScoreNotes.get(5, 3), NoteId::Whole);
}

TEST(ScoreModel, MoveDownKeepsTheTop)
{
    Score s;
    s.ScoreNotes.set(1, 1, NoteId::Quarter);
    s.ScoreNotes.set(39, 1, NoteId::Half);
    s.ScoreNotes.set(40, 1, NoteId::Whole);
    s.ColumnCount = 1;
    s.SelectionStart = 1;
    s.SelectionEnd = 1;
    EXPECT_TRUE(s.moveSelectionDown());
    EXPECT_EQ(s.ScoreNotes.get(1, 1), NoteId::Quarter);
    EXPECT_EQ(s.ScoreNotes.get(2, 1), NoteId::Quarter);
    EXPECT_EQ(s.ScoreNotes.get(40, 1), NoteId::Half);
    for (int p = 3; p <= 39; ++p)
        EXPECT_EQ(s.ScoreNotes.get(p, 1), 0) << p;
}

TEST(ScoreModel, PlacingNotesAndRests)
{
    Score s;
    EXPECT_TRUE(s.placeNote(21, 2, NoteId::Quarter, Accidental::None));
    EXPECT_EQ(s.ColumnCount, 2);
    EXPECT_TRUE(s.placeNote(12, 2, NoteId::Half, Accidental::Sharp));
    EXPECT_TRUE(s.placeNote(13, 1, NoteId::Whole, Accidental::Flat));
    EXPECT_EQ(s.ColumnCount, 2); // never lowered
    EXPECT_EQ(s.ScoreAccidentals.get(12, 2), Accidental::Sharp);

    // A rest replaces a chord and keeps the column's accidentals.
    EXPECT_TRUE(s.placeRest(2, NoteId::QuaverPause));
    for (int p = 1; p <= 40; ++p)
        EXPECT_EQ(s.ScoreNotes.get(p, 2), p == RestPosition ? NoteId::QuaverPause : 0) << p;
    EXPECT_EQ(s.ScoreAccidentals.get(12, 2), Accidental::Sharp);

    // A note placed in a rest column removes the rest.
    EXPECT_TRUE(s.placeNote(20, 2, NoteId::Quaver, Accidental::None));
    EXPECT_EQ(s.ScoreNotes.get(RestPosition, 2), 0);
    EXPECT_EQ(s.ScoreNotes.get(20, 2), NoteId::Quaver);

    EXPECT_TRUE(s.placeRest(7, NoteId::QuarterPause));
    EXPECT_EQ(s.ColumnCount, 7);
    EXPECT_TRUE(s.eraseCell(RestPosition, 7));
    EXPECT_TRUE(s.eraseCell(13, 1));
    EXPECT_EQ(s.ScoreNotes.get(RestPosition, 7), 0);
    EXPECT_EQ(s.ScoreAccidentals.get(13, 1), 0);
    EXPECT_EQ(s.ColumnCount, 7); // erasing never lowers the count
}

TEST(ScoreModel, InsertGapShiftsColumnsRight)
{
    Score s;
    for (int c = 1; c <= 4; ++c)
        s.ScoreNotes.set(c, c, static_cast<std::uint8_t>(c));
    s.ScoreAccidentals.set(3, 3, Accidental::Flat);
    s.ColumnCount = 4;
    EXPECT_TRUE(s.insertGap(3));
    EXPECT_EQ(s.ColumnCount, 5);
    EXPECT_EQ(s.ScoreNotes.get(1, 1), 1);
    EXPECT_EQ(s.ScoreNotes.get(2, 2), 2);
    for (int p = 1; p <= 40; ++p)
        EXPECT_EQ(s.ScoreNotes.get(p, 3), 0);
    EXPECT_EQ(s.ScoreNotes.get(3, 4), 3);
    EXPECT_EQ(s.ScoreNotes.get(4, 5), 4);
    EXPECT_EQ(s.ScoreAccidentals.get(3, 3), Accidental::Flat); // accidentals do not move

    // A full score keeps its last column rather than pushing it out.
    s.ColumnCount = ScoreColumns;
    s.ScoreNotes.set(9, 500, NoteId::Half);
    EXPECT_FALSE(s.insertGap(1));
    EXPECT_EQ(s.ColumnCount, ScoreColumns);
    EXPECT_EQ(s.ScoreNotes.get(9, 500), NoteId::Half);
    s.ColumnCount = 4;
    EXPECT_FALSE(s.insertGap(0));
}
