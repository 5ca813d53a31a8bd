#include <gtest/gtest.h>

#include "notivo/editor/PlaybackEngine.h"
#include "notivo/score/ScoreHistory.h"
#include "tests/notivo/editor/play_fakes.h"

using namespace notivo;
using namespace notivo::playtest;

// Undo during a run is an edit during a run: the run goes on with its own
// copy of the note ids and reads each accidental as the note starts.
TEST(UndoDuringRun, TheNextColumnSeesTheScoreAsUndoLeftIt)
{
    Score score;
    ScoreHistory history;
    FakeClock clock;
    RecordingOutput out{clock};
    PlaybackEngine engine{score, out, clock};
    const int middleC = 67, middleCSharp = 66;

    score.placeNote(21, 1, NoteId::Quarter, Accidental::None);
    {
        ScoreChange change(history, score);
        score.placeNote(21, 2, NoteId::Quarter, Accidental::Sharp);
    }
    clock.at(100, [&] { ASSERT_TRUE(history.undo(score)); });
    engine.togglePlay();
    clock.run();

    const std::vector<NoteEvent> expected = {{0, true, middleC}, {270, false, middleC},
                                             {270, true, middleC}, {540, false, middleC}};
    auto notes = out.notesWithoutRelease();
    notes.erase(std::remove_if(notes.begin(), notes.end(), [](const NoteEvent& n) { return n.v < 0; }), notes.end());
    EXPECT_EQ(notes, expected);
    EXPECT_NE(notes[2].v, middleCSharp);
    EXPECT_FALSE(engine.Playing());
    EXPECT_EQ(score.ScoreNotes.get(21, 2), 0);
    EXPECT_EQ(score.ColumnCount, 1);

    // Redo during the next run: its first note starts sharp again.
    out.notes.clear();
    clock.at(clock.ms() + 10, [&] { ASSERT_TRUE(history.redo(score)); });
    engine.togglePlay();
    clock.run();
    EXPECT_EQ(score.ScoreAccidentals.get(21, 2), Accidental::Sharp);
    EXPECT_EQ(score.ColumnCount, 2);
}
