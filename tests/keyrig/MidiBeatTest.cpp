#include "MidiFixture.h"

#include "keyrig/MidiBeat.h"

namespace {

using namespace MidiBeat;

std::vector<int> stepsPerSection(const QString& pattern)
{
    std::vector<int> counts;
    for (const Section& s : parsePattern(pattern))
        counts.push_back(static_cast<int>(s.size()));
    return counts;
}

TEST(BeatPattern, BuiltInStylesHaveTheirNamesIntervalsAndSectionLengths)
{
    const auto beats = InitBeats();
    ASSERT_EQ(beats.size(), 3u);
    struct Expected {
        const char* name;
        int interval;
        std::vector<int> steps;
    };
    const Expected expected[] = {
        {"Disco", 170, {4, 4, 8, 4, 1}},
        {"Rock", 150, {8, 16, 16, 8, 7}},
        {"16 Beat", 100, {8, 8, 16, 8, 1}},
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(beats[i].Name, expected[i].name);
        EXPECT_EQ(beats[i].Interval, expected[i].interval);
        EXPECT_EQ(stepsPerSection(beats[i].Pattern), expected[i].steps) << expected[i].name;
    }
}

TEST(BeatPattern, StepsAreKeysRestsOrBoth)
{
    const auto sections = parsePattern("44,35||44|;x,300,-1|7;");
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0], (Section{{44, 35}, {}, {44}, {}}));
    EXPECT_EQ(sections[1], (Section{{}, {7}}));  // bad keys are never sent
    EXPECT_EQ(sections[2], (Section{{}}));
}

class BeatEngineTest : public MidiFixture {
protected:
    // Runs `ticks` ticks and returns the keys struck by each.
    std::vector<std::vector<int>> play(int ticks, int velocity = 127)
    {
        std::vector<std::vector<int>> struck;
        for (int t = 0; t < ticks; ++t) {
            recorder.clear();
            engine.tmrBeat_Timer(velocity);
            std::vector<int> keys;
            for (std::uint32_t m : sent()) {
                EXPECT_EQ(platform::midi::statusOf(m), 0x99);
                EXPECT_EQ(platform::midi::data2Of(m), velocity);
                keys.push_back(platform::midi::data1Of(m));
            }
            struck.push_back(keys);
        }
        return struck;
    }

    BeatEngine engine{midi};
};

using Steps = std::vector<std::vector<int>>;

TEST_F(BeatEngineTest, SilentUntilAControlAndIntroLeadsIntoMain)
{
    engine.chooseStyle(0);
    engine.stop();
    EXPECT_EQ(play(3), (Steps{{}, {}, {}}));
    engine.lblBeatCtrl_Click(0); // Intro
    EXPECT_EQ(engine.CurrentSection, Intro);
    EXPECT_EQ(play(5), (Steps{{44, 35, 55}, {46}, {44, 40, 35}, {42}, {44, 35}}));
    EXPECT_EQ(engine.CurrentSection, Main);
    EXPECT_EQ(engine.StepIndex, 1);
    EXPECT_EQ(play(7), (Steps{{46}, {44, 40, 35}, {42}, {44, 35}, {46}, {44, 40, 35}, {42}}));
    EXPECT_EQ(engine.CurrentSection, Main); // the groove repeats
}

TEST_F(BeatEngineTest, RockEndingPlaysToItsLastStepAndStops)
{
    engine.chooseStyle(1);
    play(8); // intro
    ASSERT_EQ(engine.CurrentSection, Main);
    play(2);
    engine.lblBeatCtrl_Click(3); // Ending, during main
    const Steps mainRest = play(14);
    EXPECT_EQ(mainRest.back(), std::vector<int>{});
    EXPECT_EQ(engine.CurrentSection, Ending);
    EXPECT_EQ(play(7), (Steps{{44}, {}, {44}, {}, {44}, {}, {44, 35, 55}}));
    EXPECT_EQ(engine.CurrentSection, Stopped);
    EXPECT_EQ(play(2), (Steps{{}, {}}));
}

TEST_F(BeatEngineTest, RequestsWaitForTheSectionEndAndTheLaterOneWins)
{
    engine.chooseStyle(1);
    play(8);
    play(3);                     // Rock main, step 3 played
    engine.lblBeatCtrl_Click(1); // Fill
    engine.lblBeatCtrl_Click(2); // then Pause: only this one is carried out
    play(13);
    EXPECT_EQ(engine.CurrentSection, Break);
    EXPECT_EQ(engine.PendingSection, NothingPending);
    EXPECT_EQ(play(8), (Steps{{44, 35}, {}, {46}, {}, {40, 44}, {}, {42}, {}}));
    EXPECT_EQ(engine.CurrentSection, Main);
}

TEST_F(BeatEngineTest, StopLetsTheSectionFinishAndStopWhileStoppedIsOverwrittenByAStart)
{
    engine.chooseStyle(0);
    engine.stop();
    engine.lblBeatCtrl_Click(4); // Stop while stopped: only a request
    EXPECT_EQ(engine.CurrentSection, Stopped);
    EXPECT_EQ(engine.PendingSection, Stopped);
    engine.lblBeatCtrl_Click(1); // Fill starts at once
    EXPECT_EQ(engine.CurrentSection, Fill);
    EXPECT_EQ(engine.PendingSection, NothingPending);
    play(8);
    EXPECT_EQ(engine.CurrentSection, Main);
    play(1);
    engine.lblBeatCtrl_Click(4);
    EXPECT_EQ(play(3).size(), 3u);
    EXPECT_EQ(engine.CurrentSection, Stopped);
    EXPECT_EQ(play(1), (Steps{{}}));
}

TEST_F(BeatEngineTest, ChoosingAStyleWhilePlayingRestartsAtItsIntro)
{
    engine.chooseStyle(0);
    engine.stop();
    engine.lblBeatCtrl_Click(0);
    play(6);
    engine.chooseStyle(2);
    EXPECT_EQ(engine.CurrentSection, Intro);
    EXPECT_EQ(play(9), (Steps{{44}, {44}, {44}, {44}, {44}, {44}, {44}, {44}, {44, 35}}));
}

TEST_F(BeatEngineTest, BeatNotesFollowTheVolumeAndAreNeverReleased)
{
    engine.chooseStyle(0);
    recorder.clear();
    engine.tmrBeat_Timer(0);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(9, 44, 0), on(9, 35, 0), on(9, 55, 0)}));
}

} // namespace
