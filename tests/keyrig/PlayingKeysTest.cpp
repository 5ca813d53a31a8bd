#include "MidiFixture.h"

#include "keyrig/KeyTables.h"
#include "keyrig/KeyrigSettings.h"
#include "keyrig/PlayingKeys.h"

namespace {

constexpr int Z = 90, X = 88, LeftBracket = 219, Keypad2 = 98, F2 = 113, F5 = 116, Shift = 16;

class PlayingKeysTest : public MidiFixture {
protected:
    void SetUp() override
    {
        MidiFixture::SetUp();
        keys.DrumNotes = KeyrigSettings::DefaultDrumNotes;
        keys.onKeyChanged = [this](int i, bool down) { keyChanges.push_back({i, down}); };
        keys.onPadChanged = [this](int p, bool down) { padChanges.push_back({p, down}); };
    }

    PlayingKeys keys{midi};
    std::vector<std::pair<int, bool>> keyChanges;
    std::vector<std::pair<int, bool>> padChanges;
};

TEST_F(PlayingKeysTest, SequencesOfKeyEventsGiveOneMessagePerChange)
{
    struct Event {
        bool down;
        int code;
    };
    struct Case {
        const char* name;
        std::vector<Event> events;
        std::vector<std::uint32_t> expected;
    };
    const Case cases[] = {
        {"Z held with repeated key-downs",
         {{true, Z}, {true, Z}, {true, Z}, {true, Z}, {false, Z}},
         {on(0, 48, 127), off(0, 48)}},
        {"Z, X, release Z",
         {{true, Z}, {true, X}, {false, Z}},
         {on(0, 48, 127), on(0, 50, 127), off(0, 48)}},
        {"Z, release, Z again",
         {{true, Z}, {false, Z}, {true, Z}},
         {on(0, 48, 127), off(0, 48), on(0, 48, 127)}},
        {"Shift then Z plays the same note",
         {{true, Shift}, {true, Z}, {false, Z}, {false, Shift}},
         {on(0, 48, 127), off(0, 48)}},
        {"keypad 2 sounds the bass drum on the percussion channel",
         {{true, Keypad2}, {true, Keypad2}, {false, Keypad2}},
         {on(9, 36, 127), off(9, 36)}},
        {"the highest key", {{true, LeftBracket}, {false, LeftBracket}}, {on(0, 83, 127), off(0, 83)}},
    };
    for (const Case& c : cases) {
        recorder.clear();
        PlayingKeys fresh{midi};
        fresh.DrumNotes = KeyrigSettings::DefaultDrumNotes;
        for (const Event& e : c.events)
            e.down ? (void)fresh.Form_KeyDown(e.code) : fresh.Form_KeyUp(e.code);
        EXPECT_EQ(sent(), c.expected) << c.name;
    }
}

TEST_F(PlayingKeysTest, EveryPlayingKeyMapsToItsSemitoneAndTheBaseKeyTransposes)
{
    for (int i = 0; i < 36; ++i) {
        recorder.clear();
        keys.Form_KeyDown(KeyTables::KeyCodes[i]);
        keys.Form_KeyUp(KeyTables::KeyCodes[i]);
        EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(0, 48 + i, 127), off(0, 48 + i)})) << i;
    }
    keys.BaseKey = 2; // D
    recorder.clear();
    keys.Form_KeyDown(Z);
    keys.Form_KeyDown(LeftBracket);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(0, 50, 127), on(0, 85, 127)}));
}

TEST_F(PlayingKeysTest, PadsIgnoreTheVolumeButKeysFollowIt)
{
    keys.KeyVelocity = 0;
    keys.Form_KeyDown(Z);
    keys.Form_KeyDown(Keypad2);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(0, 48, 0), on(9, 36, 127)}));
}

TEST_F(PlayingKeysTest, ANoteOffAfterABaseKeyChangeUsesTheNewKey)
{
    keys.Form_KeyDown(Z);
    keys.BaseKey = 5;
    keys.Form_KeyUp(Z);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{on(0, 48, 127), off(0, 53)}));
}

TEST_F(PlayingKeysTest, FunctionKeysAskForBanksAndBeatsOnceWhileHeld)
{
    auto r = keys.Form_KeyDown(F2);
    EXPECT_EQ(r.command, PlayingKeys::Command::Bank);
    EXPECT_EQ(r.index, 1);
    EXPECT_EQ(keys.Form_KeyDown(F2).command, PlayingKeys::Command::None);
    keys.Form_KeyUp(F2);
    r = keys.Form_KeyDown(F5);
    EXPECT_EQ(r.command, PlayingKeys::Command::Beat);
    EXPECT_EQ(r.index, 0);
    EXPECT_EQ(keys.Form_KeyDown(F5).command, PlayingKeys::Command::None);
    EXPECT_EQ(keys.Form_KeyDown(F5 + 4).index, 4);
    EXPECT_TRUE(sent().empty());
}

TEST_F(PlayingKeysTest, ReleaseAllLetsGoOfHeldKeysAndPadsOnce)
{
    keys.Form_KeyDown(Z);
    keys.Form_KeyDown(X);
    keys.Form_KeyDown(Keypad2);
    recorder.clear();
    keyChanges.clear();
    keys.releaseAll();
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{off(0, 48), off(0, 50), off(9, 36)}));
    EXPECT_EQ(keyChanges, (std::vector<std::pair<int, bool>>{{0, false}, {2, false}}));
    EXPECT_EQ(padChanges, (std::vector<std::pair<int, bool>>{{10, true}, {10, false}}));
    keys.releaseAll();
    keys.Form_KeyUp(Z);
    EXPECT_EQ(sent().size(), 3u);
    EXPECT_EQ(keys.lastKey(), 0);
}

} // namespace
