#include <gtest/gtest.h>

#include "notivo/editor/StaffEditing.h"

using namespace notivo;
using namespace notivo::editing;

namespace {

TEST(EditRules, ModeAccidentalAndHitTesting)
{
    EXPECT_EQ(editMode(false, false, false), EditMode::Normal);
    EXPECT_EQ(editMode(true, false, false), EditMode::Select);
    EXPECT_EQ(editMode(true, true, false), EditMode::InsertGap); // Insert Gap whatever Select says
    EXPECT_EQ(editMode(false, false, true), EditMode::DeleteColumn);
    EXPECT_EQ(editMode(true, false, true), EditMode::Select);

    EXPECT_EQ(paletteAccidental(false, false), 0);
    EXPECT_EQ(paletteAccidental(true, false), 1);
    EXPECT_EQ(paletteAccidental(true, true), 2);

    struct Gap { double x; int g; };
    for (const Gap& c : {Gap{70, 3}, Gap{62, 2}, Gap{94, 4}, Gap{30, 0}, Gap{29.9, 0}, Gap{0, -1}})
        EXPECT_EQ(gapColumnAt(c.x), c.g) << c.x;
    EXPECT_EQ(gapMarkerX(3), 72);
    EXPECT_EQ(notivo::staff::columnBandEdge(5), 105);
    EXPECT_EQ(clampColumn(-3), 1);
    EXPECT_EQ(clampColumn(501), 500);
}

TEST(EditRules, NormalPressWritesErasesAndPreviews)
{
    Score score;
    score.SelectedNoteId = NoteId::Half;
    PressEdit edit = pressNormal(score, 21, 2, 0, Accidental::Sharp);
    EXPECT_TRUE(edit.edited);
    EXPECT_EQ(score.ScoreNotes.get(21, 2), NoteId::Half);
    EXPECT_EQ(score.ScoreAccidentals.get(21, 2), Accidental::Sharp);
    EXPECT_EQ(edit.preview, (Preview{66, 440}));

    edit = pressNormal(score, 21, 2, 0, Accidental::None); // erase: natural pitch
    EXPECT_EQ(score.ScoreNotes.get(21, 2), 0);
    EXPECT_EQ(score.ScoreAccidentals.get(21, 2), 0);
    EXPECT_EQ(edit.preview, (Preview{67, 440}));

    EXPECT_FALSE(pressNormal(score, 0, 2, 0, 0).edited);
    EXPECT_FALSE(pressNormal(score, 21, 0, 0, 0).edited);

    // Below the staff the note is stored (never shown or played), column counted.
    edit = pressNormal(score, 33, 4, 7, 0);
    EXPECT_EQ(score.ScoreNotes.get(33, 11), NoteId::Half);
    EXPECT_EQ(score.ColumnCount, 11);

    score.SelectedNoteId = NoteId::QuarterPause;
    score.placeNote(3, 12, NoteId::Whole, 2);
    edit = pressNormal(score, 20, 12, 0, 0);
    EXPECT_FALSE(edit.preview.has_value());
    EXPECT_EQ(score.ScoreNotes.get(3, 12), 0);
    EXPECT_EQ(score.ScoreNotes.get(RestPosition, 12), NoteId::QuarterPause);
    EXPECT_EQ(score.ScoreAccidentals.get(3, 12), 2);
}

TEST(EditRules, InsertGapKeepsEveryNoteAndTheCountWithinTheGrid)
{
    Score score;
    for (int c = 1; c <= 3; ++c)
        score.placeNote(10, c, static_cast<std::uint8_t>(c), 0);
    score.ScoreAccidentals.set(10, 2, Accidental::Flat);
    EXPECT_TRUE(insertGap(score, 2));
    EXPECT_EQ(score.ColumnCount, 4);
    EXPECT_EQ(score.ScoreNotes.get(10, 2), 0);
    EXPECT_EQ(score.ScoreNotes.get(10, 3), 2);
    EXPECT_EQ(score.ScoreAccidentals.get(10, 2), Accidental::Flat); // accidentals stay put
    EXPECT_TRUE(insertGap(score, -4));                             // held to column 1
    EXPECT_EQ(score.ScoreNotes.get(10, 2), 1);

    score.placeNote(40, 500, NoteId::Quaver, 0); // anything in the last column blocks
    const Score before = score;
    EXPECT_FALSE(insertGap(score, 7));
    EXPECT_EQ(score.ScoreNotes, before.ScoreNotes);
    EXPECT_EQ(score.ColumnCount, 500);
}

TEST(EditRules, DeleteColumnClosesTheSpace)
{
    Score score;
    for (int c = 1; c <= 4; ++c)
        score.placeNote(10, c, static_cast<std::uint8_t>(c), 0);
    EXPECT_TRUE(deleteColumn(score, 1));
    EXPECT_EQ(score.ColumnCount, 3);
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(score.ScoreNotes.get(10, c), c < 4 ? c + 1 : 0);
    EXPECT_FALSE(deleteColumn(score, 4));
    EXPECT_FALSE(deleteColumn(score, 0));
    EXPECT_TRUE(insertGap(score, 2));
    EXPECT_TRUE(deleteColumn(score, 2)); // a gap inserted and deleted leaves the notes as they were
    EXPECT_EQ(score.ScoreNotes.get(10, 2), 3);
    EXPECT_EQ(score.ColumnCount, 3);

    // Each accidental moves with its note; none stays behind for the note
    // that moves into its cell, and the freed last column keeps none.
    Score marked;
    marked.placeNote(12, 1, NoteId::Quarter, Accidental::Sharp);
    marked.placeNote(12, 2, NoteId::Quarter, Accidental::None);
    marked.placeNote(12, 3, NoteId::Half, Accidental::Flat);
    EXPECT_TRUE(deleteColumn(marked, 1));
    EXPECT_EQ(marked.ScoreNotes.get(12, 1), NoteId::Quarter);
    EXPECT_EQ(marked.ScoreAccidentals.get(12, 1), Accidental::None);
    EXPECT_EQ(marked.ScoreNotes.get(12, 2), NoteId::Half);
    EXPECT_EQ(marked.ScoreAccidentals.get(12, 2), Accidental::Flat);
    EXPECT_EQ(marked.ScoreAccidentals.get(12, 3), Accidental::None);

    Score full;
    full.placeNote(5, 500, NoteId::Whole, 0);
    EXPECT_TRUE(deleteColumn(full, 500));
    EXPECT_EQ(full.ColumnCount, 499);
    EXPECT_EQ(full.ScoreNotes.get(5, 500), 0);
}

TEST(EditRules, SelectionBandScrollAndCursor)
{
    struct Drag { int anchor; int release; SelectionRange range; };
    for (const Drag& d : {Drag{5, 2, {2, 4}}, Drag{2, 5, {2, 4}}, Drag{-1, 3, {1, 2}}, Drag{498, 530, {498, 499}},
                          Drag{4, 4, {0, 0}}, Drag{1, -6, {0, 0}}})
        EXPECT_EQ(selectionAfterDrag(d.anchor, d.release), d.range) << d.anchor << " " << d.release;

    EXPECT_EQ(selectionBand(105, 62), (Band{57, 48}));
    EXPECT_EQ(selectionBand(57, 110), (Band{57, 48}));
    EXPECT_EQ(selectionBand(57, 62), (Band{57, 0}));

    EXPECT_EQ(edgeScroll(true, 511, 0, 450), 1);
    EXPECT_EQ(edgeScroll(true, 510, 0, 450), 0);
    EXPECT_EQ(edgeScroll(true, 515, 450, 450), 450);
    EXPECT_EQ(edgeScroll(true, 14, 3, 450), 2);
    EXPECT_EQ(edgeScroll(true, 10, 0, 450), 0);
    EXPECT_EQ(edgeScroll(false, 515, 3, 450), 3);

    Score score;
    score.placeNote(12, 7, NoteId::Quarter, 0);
    EXPECT_EQ(cursorForCell(score, 12, 7, 0), CursorChange::Eraser);
    EXPECT_EQ(cursorForCell(score, 12, 7, 1), CursorChange::None);
    EXPECT_EQ(cursorForCell(score, 13, 7, 1), CursorChange::Drawing);
    EXPECT_EQ(cursorForCell(score, 13, 7, 0), CursorChange::None);
    EXPECT_EQ(cursorForCell(score, 0, 7, 1), CursorChange::None);
    EXPECT_EQ(cursorForCell(score, 12, 500, 1), CursorChange::None);
}

} // namespace
