#include "notivo/score/PassRules.h"

#include <gtest/gtest.h>

#include <map>

#include "notivo/score/NotePitch.h"

using namespace notivo;

namespace {

const int MiddleC = 67;        // position 21, natural
const int PositionTen = 48;    // G of the octave above
const int PositionTwenty = 65; // D
const int PositionFive = 39;

struct Put {
    int position, column, id, accidental;
};

Score scoreOf(std::initializer_list<Put> cells)
{
    Score score;
    for (const Put& p : cells) {
        score.ScoreNotes.set(p.position, p.column, static_cast<std::uint8_t>(p.id));
        score.ScoreAccidentals.set(p.position, p.column, static_cast<std::uint8_t>(p.accidental));
        score.ColumnCount = std::max(score.ColumnCount, p.column);
    }
    return score;
}

TEST(PassRules, PitchValuesUsedByTheseTests)
{
    EXPECT_EQ(FixNotes(21, 0), MiddleC);
    EXPECT_EQ(FixNotes(10, 0), PositionTen);
    EXPECT_EQ(FixNotes(20, 0), PositionTwenty);
    EXPECT_EQ(FixNotes(5, 0), PositionFive);
}

// A whole run as timed notes: lengths of each id, chords and sustain,
// accidentals, rests (also away from their position) and unplayed positions.
TEST(PassRules, PerformRunTimesEveryNoteOnTheNominalDeadlines)
{
    using N = PerformedNote;
    struct Case {
        const char* what;
        Score score;
        int unitMs;
        std::vector<N> notes;
        std::int64_t endMs;
    };
    const Case cases[] = {
        {"quarter at tempo 110", scoreOf({{21, 1, 3, 0}}), 90, {{0, true, MiddleC}, {270, false, MiddleC}}, 270},
        {"whole", scoreOf({{21, 1, 5, 0}}), 90, {{0, true, MiddleC}, {450, false, MiddleC}}, 450},
        {"semiquaver at tempo 180", scoreOf({{21, 1, 1, 0}}), 20, {{0, true, MiddleC}, {20, false, MiddleC}}, 20},
        {"half at tempo 0", scoreOf({{21, 1, 4, 0}}), 200, {{0, true, MiddleC}, {800, false, MiddleC}}, 800},
        {"quarter rest", scoreOf({{RestPosition, 1, 10, 0}}), 90, {}, 360},
        {"quaver rest", scoreOf({{RestPosition, 1, 11, 0}}), 90, {}, 180},
        // A shorter note on a later position clears sustain: the whole is struck again.
        {"whole over a later quarter",
         scoreOf({{10, 1, 5, 0}, {20, 1, 3, 0}}),
         90,
         {{0, true, PositionTen},
          {0, true, PositionTwenty},
          {270, false, PositionTwenty},
          {270, true, PositionTen},
          {450, false, PositionTen}},
         450},
        {"whole under an earlier quarter",
         scoreOf({{5, 1, 3, 0}, {20, 1, 5, 0}}),
         90,
         {{0, true, PositionFive}, {0, true, PositionTwenty}, {270, false, PositionFive}, {450, false, PositionTwenty}},
         450},
        {"columns in turn with accidentals and a rest",
         scoreOf({{21, 1, 2, 1}, {21, 2, 1, 2}, {RestPosition, 3, 11, 0}, {21, 4, 1, 0}}),
         90,
         {{0, true, MiddleC - 1},
          {180, false, MiddleC - 1},
          {180, true, MiddleC + 1},
          {270, false, MiddleC + 1},
          {450, true, MiddleC},
          {540, false, MiddleC}},
         540},
        {"quarter rest moved to position 14", scoreOf({{14, 1, 10, 0}, {21, 2, 1, 0}}), 90,
         {{360, true, MiddleC}, {450, false, MiddleC}}, 450},
        {"quaver rest moved to position 16", scoreOf({{16, 1, 11, 0}, {21, 2, 1, 0}}), 90,
         {{180, true, MiddleC}, {270, false, MiddleC}}, 270},
        {"unknown id is ignored", scoreOf({{3, 1, 13, 0}, {21, 2, 1, 0}}), 90,
         {{90, true, MiddleC}, {180, false, MiddleC}}, 180},
        {"below position 30 is not played", scoreOf({{31, 1, 3, 0}}), 90, {}, 90},
        {"empty score", Score{}, 90, {}, 0},
        // E sharp and F sound one key: the first to end releases it, as the device hears it.
        {"two positions on one key", scoreOf({{19, 1, 5, 1}, {18, 1, 1, 0}}), 10,
         {{0, true, 62}, {0, true, 62}, {10, false, 62}, {50, false, 62}}, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Performance p = performRun(c.score, c.unitMs);
        EXPECT_EQ(p.notes, c.notes);
        EXPECT_EQ(p.endMs, c.endMs);
        std::map<int, bool> sounding;
        for (const PerformedNote& n : p.notes)
            sounding[n.value] = n.on;
        for (const auto& [value, on] : sounding)
            EXPECT_FALSE(on) << value;
    }
}

TEST(PassRules, LabelKeepsTheLastNamesThroughSustainAndRests)
{
    const Score score = scoreOf({{21, 1, 2, 0}, {19, 1, 2, 0}, {RestPosition, 2, 11, 0}, {17, 3, 1, 2}});
    PassRules rules(score, 1, score.ColumnCount, 90);
    std::vector<QString> names;
    while (!rules.finished()) {
        names.push_back(rules.startPass().names);
        rules.endPass();
    }
    EXPECT_EQ(names, (std::vector<QString>{"Mi 2 Do 2 ", "Mi 2 Do 2 ", "Mi 2 Do 2 ", "Solb 2 "}));
}

// The view follows the column just passed; the play line stands right of it,
// or right of the column before while it repeats; the next pass plays on.
TEST(PassRules, EachPassEndSaysWhereTheLineGoesAndWhatComesNext)
{
    const Score score = scoreOf({{21, 1, 2, 0}, {21, 2, 1, 0}});
    PassRules rules(score, 1, 2, 90);
    struct Seen { int passed, line, next; bool finished; };
    std::vector<Seen> seen;
    while (!rules.finished()) {
        rules.startPass();
        const PassEnd end = rules.endPass();
        seen.push_back({end.passedColumn, end.lineColumn, rules.column(), rules.finished()});
    }
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ((std::vector<int>{seen[0].passed, seen[0].line, seen[0].next}), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ((std::vector<int>{seen[1].passed, seen[1].line, seen[1].next}), (std::vector<int>{1, 1, 2}));
    EXPECT_EQ((std::vector<int>{seen[2].passed, seen[2].line, seen[2].next}), (std::vector<int>{2, 2, 3}));
    EXPECT_TRUE(seen[2].finished);
}

TEST(PassRules, ARunFromALaterColumnOrPastTheEndPlaysOnlyWhatIsLeft)
{
    const Score score = scoreOf({{21, 1, 1, 0}, {19, 2, 1, 0}, {17, 3, 1, 0}});
    PassRules fromTwo(score, 2, score.ColumnCount, 90);
    EXPECT_EQ(fromTwo.startPass().notes, (std::vector<PassNote>{{true, FixNotes(19, 0)}}));
    PassRules pastEnd(score, 4, score.ColumnCount, 90);
    EXPECT_TRUE(pastEnd.finished());
}

// Edits during a run: the note ids were copied at the start, but a changed
// accidental is read at the next strike, and every note-off releases the key
// that was struck.
TEST(PassRules, EditsDuringARunChangeOnlyAccidentalsAndNeverStrandAKey)
{
    Score score = scoreOf({{21, 1, 3, 1}, {21, 2, 5, 0}, {10, 3, 5, 0}, {20, 3, 3, 0}});
    PassRules rules(score, 1, score.ColumnCount, 90);
    std::vector<PassNote> sent;
    int pass = 0;
    while (!rules.finished()) {
        const PassStart start = rules.startPass();
        sent.insert(sent.end(), start.notes.begin(), start.notes.end());
        if (pass == 0) {
            score.ScoreAccidentals.set(21, 1, Accidental::None);
            score.eraseCell(21, 2);
            score.clearScore();
        }
        if (pass == 10) // the whole of column 3 is struck again on the next pass, by then flat
            score.ScoreAccidentals.set(10, 3, Accidental::Flat);
        const PassEnd end = rules.endPass();
        sent.insert(sent.end(), end.notes.begin(), end.notes.end());
        ++pass;
    }
    const int sharpC = FixNotes(21, Accidental::Sharp);
    const int flatG = FixNotes(10, Accidental::Flat);
    EXPECT_EQ(sent, (std::vector<PassNote>{{true, sharpC},
                                           {false, sharpC},
                                           {true, MiddleC},
                                           {false, MiddleC},
                                           {true, PositionTen},
                                           {true, PositionTwenty},
                                           {false, PositionTwenty},
                                           {false, PositionTen},
                                           {true, flatG},
                                           {false, flatG}}));
}

} // namespace
