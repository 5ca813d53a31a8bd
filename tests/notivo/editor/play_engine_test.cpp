#include <gtest/gtest.h>

#include <map>

#include "notivo/editor/PlaybackEngine.h"
#include "notivo/score/NotePitch.h"
#include "tests/notivo/editor/play_fakes.h"

using namespace notivo;
using namespace notivo::playtest;

namespace notivo::playtest {

// A run's or a step's end releases every playable value 31..83 at once; the
// helper keeps one marker (v = -1) for such a block so that tests read the
// notes of the score.
std::vector<NoteEvent> RecordingOutput::notesWithoutRelease() const
{
    const int block = HighestPlayedValue - LowestPlayedValue + 1;
    std::vector<NoteEvent> out;
    for (std::size_t i = 0; i < notes.size();) {
        bool isBlock = i + block <= notes.size();
        for (int j = 0; isBlock && j < block; ++j)
            isBlock = !notes[i + j].on && notes[i + j].v == LowestPlayedValue + j && notes[i + j].ms == notes[i].ms;
        if (isBlock) {
            out.push_back({notes[i].ms, false, -1});
            i += block;
        } else {
            out.push_back(notes[i++]);
        }
    }
    return out;
}

} // namespace notivo::playtest

namespace {

constexpr int Release = -1;
const int MiddleC = 67;           // position 21, natural

struct Rig {
    Score score;
    FakeClock clock;
    RecordingOutput out{clock};
    PlaybackEngine engine{score, out, clock};

    // A click, and the time it starts going by until nothing is pending.
    void togglePlay() { engine.togglePlay(); clock.run(); }
    void step() { engine.step(); clock.run(); }
    void soundStripAt(double x) { engine.soundStripAt(x); clock.run(); }

    void put(int position, int column, int id, int accidental = 0)
    {
        score.ScoreNotes.set(position, column, static_cast<std::uint8_t>(id));
        score.ScoreAccidentals.set(position, column, static_cast<std::uint8_t>(accidental));
        score.ColumnCount = std::max(score.ColumnCount, column);
    }
};

TEST(PlayEngine, PlayLineStandsRightOfTheFinishedColumnOrOfTheOneBeforeWhileRepeating)
{
    Rig rig;
    rig.put(21, 1, NoteId::Quaver);
    rig.put(21, 2, NoteId::Semiquaver);
    rig.togglePlay();
    // Column 1 repeats once (line right of column 0), then ends (right of 1), column 2 (right of 2).
    EXPECT_EQ(rig.out.lines, (std::vector<int>{48, 64, 80}));
    EXPECT_EQ(rig.out.repaints, 3);
}

TEST(PlayEngine, ViewFollowsPastColumnThirtyAndReturnsToTheStartAtTheEnd)
{
    Rig rig;
    for (int c = 1; c <= 33; ++c)
        rig.put(21, c, NoteId::Semiquaver);
    rig.togglePlay();
    EXPECT_EQ(rig.out.scrolls, (std::vector<int>{1, 2, 3, 0}));
    // Column 31 is drawn in window column 30 once the view has followed.
    EXPECT_EQ(rig.out.lines[30], 30 * 16 + 48);
    EXPECT_EQ(rig.engine.PlayPosition(), 1);
}

TEST(PlayEngine, EndOfRunReleasesEverythingAndRestoresTheIdleFace)
{
    Rig rig;
    rig.put(21, 1, NoteId::Semiquaver);
    rig.togglePlay();
    EXPECT_EQ(rig.out.faces, (std::vector<bool>{true, false}));
    ASSERT_GE(rig.out.notes.size(), 53u);
    for (int v = LowestPlayedValue; v <= HighestPlayedValue; ++v)
        EXPECT_EQ(rig.out.notes[rig.out.notes.size() - 53 + (v - LowestPlayedValue)], (NoteEvent{90, false, v}));
    EXPECT_FALSE(rig.engine.Playing());
    EXPECT_FALSE(rig.engine.PauseRequest());
}

TEST(PlayEngine, PauseRemembersTheNextColumnOrTheSameWhileItSounds)
{
    Rig rig;
    rig.put(21, 1, NoteId::Half);
    rig.put(19, 2, NoteId::Semiquaver);
    rig.put(17, 3, NoteId::Semiquaver);
    // Pause in the second pass of column 1: the column still sounds, so it is kept.
    rig.clock.at(100, [&] { rig.engine.togglePlay(); });
    rig.togglePlay();
    EXPECT_EQ(rig.clock.ms(), 180);
    EXPECT_EQ(rig.engine.PlayPosition(), 1);
    EXPECT_FALSE(rig.engine.Playing());

    // Play again: the working grid is rebuilt, the half note sounds its full length.
    rig.out.notes.clear();
    rig.clock.at(180 + 400, [&] { rig.engine.togglePlay(); }); // in the pass of column 2
    rig.togglePlay();
    const std::vector<NoteEvent> expected = {
        {180, true, MiddleC}, {540, false, MiddleC}, {540, true, 63}, {630, false, 63}, {630, false, Release},
    };
    EXPECT_EQ(rig.out.notesWithoutRelease(), expected);
    EXPECT_EQ(rig.engine.PlayPosition(), 3);
}

TEST(PlayEngine, RequestsAreReadOncePerPassAfterDrawing)
{
    Rig rig;
    rig.put(21, 1, NoteId::Whole);
    rig.clock.at(10, [&] { rig.engine.togglePlay(); });
    rig.togglePlay();
    // The pass in which Pause came was drawn, then the run ended.
    EXPECT_EQ(rig.out.lines, (std::vector<int>{48}));
    EXPECT_EQ(rig.clock.ms(), 90);
}

TEST(PlayEngine, ASecondPauseClickInOnePassStillPauses)
{
    Rig rig;
    rig.put(21, 1, NoteId::Whole);
    rig.clock.at(10, [&] { rig.engine.togglePlay(); });
    rig.clock.at(20, [&] { rig.engine.togglePlay(); });
    rig.togglePlay();
    EXPECT_EQ(rig.clock.ms(), 90);
    EXPECT_FALSE(rig.engine.Playing());
    EXPECT_EQ(rig.out.faces.back(), false);
}

TEST(PlayEngine, StopRewindsToColumnOne)
{
    Rig rig;
    for (int c = 1; c <= 5; ++c)
        rig.put(21, c, NoteId::Semiquaver);
    rig.clock.at(200, [&] { rig.engine.stop(); });
    rig.togglePlay();
    EXPECT_EQ(rig.clock.ms(), 270);
    EXPECT_EQ(rig.engine.PlayPosition(), 1);
    EXPECT_FALSE(rig.engine.StopRequest());
}

TEST(PlayEngine, StopWhileIdleLeavesNoTrace)
{
    Rig rig;
    for (int c = 1; c <= 5; ++c)
        rig.put(21, c, NoteId::Semiquaver);
    rig.engine.stop();
    EXPECT_FALSE(rig.engine.StopRequest());
    EXPECT_FALSE(rig.engine.PauseRequest());
    rig.clock.at(100, [&] { rig.engine.togglePlay(); }); // a plain pause later on
    rig.togglePlay();
    EXPECT_EQ(rig.engine.PlayPosition(), 3);
}

TEST(PlayEngine, PauseAfterTheLastColumnStartsTheNextPlayAtColumnOne)
{
    Rig rig;
    rig.put(21, 1, NoteId::Semiquaver);
    rig.put(21, 2, NoteId::Semiquaver);
    rig.clock.at(120, [&] { rig.engine.togglePlay(); }); // during the last column
    rig.togglePlay();
    EXPECT_EQ(rig.engine.PlayPosition(), 1);

    rig.out.notes.clear();
    const long long start = rig.clock.ms();
    rig.togglePlay();
    const auto notes = rig.out.notesWithoutRelease();
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.front(), (NoteEvent{start, true, MiddleC}));
    EXPECT_EQ(rig.clock.ms() - start, 180);
}

TEST(PlayEngine, EmptyScoreEndsAtOnce)
{
    Rig rig;
    rig.out.scroll = 12;
    rig.togglePlay();
    EXPECT_EQ(rig.clock.ms(), 0);
    EXPECT_EQ(rig.out.notesWithoutRelease(), (std::vector<NoteEvent>{{0, false, Release}}));
    EXPECT_EQ(rig.out.scroll, 0);
    EXPECT_FALSE(rig.engine.Playing());
}

TEST(PlayEngine, TempoIsReadAtEachPlay)
{
    Rig rig;
    rig.put(21, 1, NoteId::Whole);
    rig.put(21, 2, NoteId::Whole);
    rig.clock.at(50, [&] { rig.out.tempo = 180; });
    rig.togglePlay();
    EXPECT_EQ(rig.clock.ms(), 900);
    rig.togglePlay();
    EXPECT_EQ(rig.clock.ms(), 900 + 200);
}

TEST(PlayEngine, DrawingTimeNeitherStretchesTheTempoNorAddsUp)
{
    Rig rig;
    rig.out.drawCostMs = 7;
    for (int c = 1; c <= 10; ++c)
        rig.put(21, c, NoteId::Semiquaver);
    rig.togglePlay();
    std::vector<long long> onsets;
    for (const NoteEvent& e : rig.out.notes)
        if (e.on)
            onsets.push_back(e.ms);
    ASSERT_EQ(onsets.size(), 10u);
    EXPECT_EQ(onsets[0], 0);
    for (std::size_t i = 1; i < onsets.size(); ++i)
        EXPECT_EQ(onsets[i], 90 * static_cast<long long>(i) + 7) << i;
}

TEST(PlayEngine, ARunHeldUpByABusyMachineCarriesOnFromTheLateWakeUp)
{
    Rig rig;
    for (int c = 1; c <= 4; ++c)
        rig.put(21, c, NoteId::Semiquaver);
    // The machine holds the run up until 400 ms.
    rig.clock.at(30, [&] { rig.clock.t = rig.clock.start + std::chrono::milliseconds(400); });
    rig.togglePlay();
    std::vector<long long> onsets;
    for (const NoteEvent& e : rig.out.notes)
        if (e.on)
            onsets.push_back(e.ms);
    EXPECT_EQ(onsets, (std::vector<long long>{0, 400, 490, 580}));
}

// A wake-up a little late (a busy machine) must not shift every later note:
// the delay is paid back, no pass shorter than half its length.
TEST(PlayEngine, AShortDelayIsPaidBackWithoutRushingANote)
{
    struct Case { int tempo; long long lateUntil; std::vector<long long> onsets; };
    const Case cases[] = {
        {110, 150, {0, 150, 195, 270, 360, 450}},
        {180, 70, {0, 70, 80, 90, 100, 110}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tempo);
        Rig rig;
        rig.out.tempo = c.tempo;
        for (int k = 1; k <= 6; ++k)
            rig.put(21, k, NoteId::Semiquaver);
        rig.clock.at(5, [&] { rig.clock.t = rig.clock.start + std::chrono::milliseconds(c.lateUntil); });
        rig.togglePlay();
        std::vector<long long> onsets;
        for (const NoteEvent& e : rig.out.notes)
            if (e.on)
                onsets.push_back(e.ms);
        EXPECT_EQ(onsets, c.onsets);
    }
}

TEST(PlayEngine, ASecondPlayClickNeverStartsASecondRun)
{
    Rig rig;
    rig.put(21, 1, NoteId::Quarter);
    int runsSeen = 0;
    rig.clock.at(50, [&] {
        rig.togglePlay(); // pause request
        runsSeen = rig.engine.Playing() ? 1 : 0;
    });
    rig.togglePlay();
    EXPECT_EQ(runsSeen, 1);
    long long ons = 0;
    for (const NoteEvent& e : rig.out.notes)
        ons += e.on ? 1 : 0;
    EXPECT_EQ(ons, 1);
}

TEST(PlayEngine, StepSoundsColumnsOneTwoThreeThenOneAgain)
{
    Rig rig;
    rig.put(21, 1, NoteId::Whole);
    rig.put(19, 2, NoteId::Semiquaver);
    rig.put(20, 2, NoteId::QuarterPause); // a rest id is not sounded by Step
    rig.put(17, 3, NoteId::Quaver, Accidental::Sharp);
    std::vector<int> sounded;
    std::vector<long long> lengths;
    for (int i = 0; i < 4; ++i) {
        rig.out.notes.clear();
        const long long t0 = rig.clock.ms();
        rig.step();
        const auto notes = rig.out.notesWithoutRelease();
        ASSERT_EQ(notes.size(), 3u);
        EXPECT_EQ(notes[0], (NoteEvent{t0, false, Release}));
        EXPECT_TRUE(notes[1].on);
        sounded.push_back(notes[1].v);
        lengths.push_back(notes[2].ms - notes[1].ms);
        EXPECT_EQ(rig.engine.LastStepColumn(), rig.engine.StepColumn());
    }
    EXPECT_EQ(sounded, (std::vector<int>{MiddleC, 63, 59, MiddleC}));
    EXPECT_EQ(lengths, (std::vector<long long>(4, 500)));
    EXPECT_EQ(rig.out.names.back(), QStringLiteral("Do 2 "));
    // The line passes through the stepped column: X(w) + 2.
    EXPECT_EQ(rig.out.lines, (std::vector<int>{48, 64, 80, 48}));
}

TEST(PlayEngine, StepAfterARunThatRewoundIsNotDead)
{
    Rig rig;
    rig.put(21, 1, NoteId::Semiquaver);
    rig.put(21, 2, NoteId::Semiquaver);
    rig.put(21, 3, NoteId::Semiquaver);
    rig.soundStripAt(35 + 32); // window column 2, LastStepColumn 2
    rig.togglePlay();            // plays to the end, PlayPosition back to 1
    EXPECT_EQ(rig.engine.PlayPosition(), 1);
    rig.out.notes.clear();
    rig.step();
    EXPECT_EQ(rig.engine.StepColumn(), 2);
    EXPECT_EQ(rig.out.notesWithoutRelease().size(), 3u);
}

TEST(PlayEngine, StepFollowsTheViewPastColumnThirty)
{
    Rig rig;
    for (int c = 1; c <= 40; ++c)
        rig.put(21, c, NoteId::Semiquaver);
    for (int i = 0; i < 31; ++i)
        rig.step();
    EXPECT_EQ(rig.engine.StepColumn(), 31);
    EXPECT_EQ(rig.out.scroll, 5);
    EXPECT_EQ(rig.out.lines.back(), (31 - 5 - 1) * 16 + 48);
}

TEST(PlayEngine, StripRoundsHalvesToEvenAndSkipsTheColumnLastSounded)
{
    Rig rig;
    rig.put(21, 2, NoteId::Quarter);
    rig.put(19, 6, NoteId::Quarter);
    rig.soundStripAt(43); // w = 0.5 -> 0: nothing
    EXPECT_TRUE(rig.out.notes.empty());
    EXPECT_EQ(rig.engine.PlayPosition(), 0);

    rig.soundStripAt(59); // w = 1.5 -> 2
    EXPECT_EQ(rig.engine.PlayPosition(), 2);
    EXPECT_EQ(rig.engine.LastStepColumn(), 2);
    EXPECT_EQ(rig.out.lines, (std::vector<int>{64}));
    EXPECT_EQ(rig.out.names.back(), QStringLiteral("Do 2 "));
    const auto notes = rig.out.notesWithoutRelease();
    EXPECT_EQ(notes, (std::vector<NoteEvent>{{0, false, Release}, {0, true, MiddleC}, {500, false, Release}}));

    rig.out.notes.clear();
    rig.soundStripAt(70); // w = 2.1875 -> 2 again: nothing
    EXPECT_TRUE(rig.out.notes.empty());

    rig.out.scroll = 2; // the strip is in window columns: column 4 + 2 sounds
    rig.soundStripAt(35 + 64);
    EXPECT_EQ(rig.engine.PlayPosition(), 6);
    EXPECT_EQ(rig.engine.LastStepColumn(), 4);
    EXPECT_EQ(rig.out.names.back(), QStringLiteral("Mi 2 "));
}

TEST(PlayEngine, ShutdownDuringARunReleasesNotesAndStopsAllSound)
{
    Rig rig;
    rig.put(21, 1, NoteId::Whole);
    rig.put(21, 2, NoteId::Whole);
    rig.clock.at(100, [&] { rig.engine.shutdown(); });
    rig.togglePlay();
    const auto notes = rig.out.notes;
    ASSERT_EQ(notes.size(), 1u + 128u);
    EXPECT_EQ(notes[0], (NoteEvent{0, true, MiddleC}));
    for (int v = 0; v <= 127; ++v) // every key, once
        EXPECT_EQ(notes[1 + v], (NoteEvent{100, false, v}));
    EXPECT_FALSE(rig.engine.Playing());
    EXPECT_EQ(rig.out.lines.size(), 1u); // the first pass only: no drawing once the window goes
    rig.togglePlay();
    rig.step();
    rig.soundStripAt(99);
    EXPECT_EQ(rig.out.notes.size(), notes.size());
}

TEST(PlayEngine, ShutdownDuringAStepReleasesEverythingAndNothingFollows)
{
    Rig rig;
    rig.put(21, 1, NoteId::Whole);
    rig.clock.at(100, [&] { rig.engine.shutdown(); });
    rig.step();
    const auto& notes = rig.out.notes;
    const std::size_t block = HighestPlayedValue - LowestPlayedValue + 1;
    ASSERT_EQ(notes.size(), block + 1u + 128u);
    EXPECT_EQ(notes[block], (NoteEvent{0, true, MiddleC}));
    for (int v = 0; v <= 127; ++v) // every key, once, and nothing at the step's end
        EXPECT_EQ(notes[block + 1 + v], (NoteEvent{100, false, v}));
    EXPECT_EQ(rig.out.repaints, 0); // the step's end never came
    EXPECT_TRUE(rig.clock.idle());
}

// Step and the strip are a timeline of their own: during a run they sound
// their columns for 500 ms each while the run keeps its grid, and each
// timeline's releases leave the other's notes alone.
TEST(PlayEngine, StepAndStripDuringARunKeepTheRunOnItsGrid)
{
    Rig rig;
    for (int c = 1; c <= 4; ++c)
        rig.put(17 + c, c, NoteId::Quarter);
    rig.clock.at(50, [&] { rig.engine.step(); });            // column 2 until 550
    rig.clock.at(700, [&] { rig.engine.soundStripAt(35 + 48); }); // window column 3 until 1200
    rig.togglePlay();
    EXPECT_FALSE(rig.engine.Playing());
    EXPECT_EQ(rig.clock.ms(), 1200);

    const NoteHolder run = rig.out.notes.front().holder;
    std::vector<NoteEvent> runOns, stepNotes;
    std::map<std::pair<NoteHolder, int>, bool> sounding;
    for (const NoteEvent& e : rig.out.notes) {
        sounding[{e.holder, e.v}] = e.on;
        if (e.holder == run && e.on)
            runOns.push_back(e);
        else if (e.holder != run && (e.on || e.v == FixNotes(19, 0) || e.v == FixNotes(20, 0)))
            stepNotes.push_back(e);
    }
    EXPECT_EQ(runOns, (std::vector<NoteEvent>{{0, true, FixNotes(18, 0)},
                                              {270, true, FixNotes(19, 0)},
                                              {540, true, FixNotes(20, 0)},
                                              {810, true, FixNotes(21, 0)}}));
    // Each step column: released before it is struck, and 500 ms later.
    EXPECT_EQ(stepNotes, (std::vector<NoteEvent>{{50, false, FixNotes(19, 0)},
                                                 {50, false, FixNotes(20, 0)},
                                                 {50, true, FixNotes(19, 0)},
                                                 {550, false, FixNotes(19, 0)},
                                                 {550, false, FixNotes(20, 0)},
                                                 {700, false, FixNotes(19, 0)},
                                                 {700, false, FixNotes(20, 0)},
                                                 {700, true, FixNotes(20, 0)},
                                                 {1200, false, FixNotes(19, 0)},
                                                 {1200, false, FixNotes(20, 0)}}));
    for (const auto& [key, on] : sounding)
        EXPECT_FALSE(on) << key.first << " " << key.second;
}

// A second column of the steps takes their sound over: the first one's end
// does not cut the second short.
TEST(PlayEngine, AStepDuringAStepSoundsItsFullLength)
{
    Rig rig;
    rig.put(21, 1, NoteId::Quarter);
    rig.put(19, 2, NoteId::Quarter);
    rig.clock.at(200, [&] { rig.engine.step(); });
    rig.step();
    EXPECT_EQ(rig.out.notesWithoutRelease(), (std::vector<NoteEvent>{{0, false, Release},
                                                                     {0, true, MiddleC},
                                                                     {200, false, Release},
                                                                     {200, true, FixNotes(19, 0)},
                                                                     {700, false, Release}}));
    EXPECT_EQ(rig.out.repaints, 1);
}

} // namespace
