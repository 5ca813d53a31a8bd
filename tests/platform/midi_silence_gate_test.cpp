#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/midi/MidiMessage.h"
#include "platform/midi/OnsetProbe.h"
#include "platform/midi/SilenceGate.h"
#include "platform/midi/SoundFontSearch.h"
#include "platform/midi/SynthEngine.h"

using namespace platform::midi;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TEST(SilenceGate, StartsOnSoundAndStopsAfterAQuietSecond)
{
    const Clock::time_point t0{};
    auto at = [&](int ms) { return t0 + milliseconds(ms); };
    constexpr float loud = 0.1f;
    constexpr float tail = 1e-4f; // a reverb tail: audible, no voice left
    constexpr float quiet = 0.0f;
    SilenceGate gate;
    EXPECT_FALSE(gate.running());
    EXPECT_FALSE(gate.played(0)) << "a controller alone starts nothing";
    EXPECT_FALSE(gate.rendered(quiet, 0, at(0))) << "nothing is rendered while stopped";
    EXPECT_TRUE(gate.played(1)) << "a sounding voice starts the stream";
    EXPECT_FALSE(gate.played(2)) << "already running";

    struct Block {
        const char* what;
        float peak;
        int voices, ms;
        bool stop;
    } blocks[] = {
        {"note sounds", loud, 1, 0, false},
        {"released, ringing", tail, 0, 300, false},
        {"quiet but a voice is left", quiet, 1, 400, false},
        {"quiet from here", quiet, 0, 500, false},
        {"not yet a second", quiet, 0, 1499, false},
        {"a second of silence", quiet, 0, 1500, true},
    };
    for (const Block& b : blocks)
        EXPECT_EQ(gate.rendered(b.peak, b.voices, at(b.ms)), b.stop) << b.what;
    EXPECT_FALSE(gate.running());

    // A message while running puts the silence back to zero.
    EXPECT_TRUE(gate.played(1));
    EXPECT_FALSE(gate.rendered(quiet, 0, at(2000)));
    EXPECT_FALSE(gate.played(0));
    EXPECT_FALSE(gate.rendered(quiet, 0, at(2900)));
    EXPECT_FALSE(gate.rendered(quiet, 0, at(3899)));
    EXPECT_TRUE(gate.rendered(quiet, 0, at(3900)));
}

TEST(OnsetProbe, FollowsNotesPlayedIntoQuiet)
{
    const Clock::time_point t0{};
    auto at = [&](int ms) { return t0 + milliseconds(ms); };
    OnsetProbe probe;
    EXPECT_EQ(probe.block(0.5f), std::nullopt) << "sound with no note-on";
    EXPECT_EQ(probe.block(0.0f), std::nullopt);

    probe.noteOn(at(10));
    probe.noteOn(at(11)); // the rest of a chord
    EXPECT_EQ(probe.block(0.01f), at(10));
    EXPECT_EQ(probe.block(0.01f), std::nullopt) << "counted once";

    probe.noteOn(at(20)); // masked by what still sounds
    EXPECT_EQ(probe.block(0.0001f), std::nullopt);

    probe.noteOn(at(30)); // a note-on that never reaches the threshold...
    EXPECT_EQ(probe.block(0.0f), std::nullopt);
    probe.noteOn(at(40)); // ...gives way to the next one
    EXPECT_EQ(probe.block(0.2f), at(40));
}

// The stream stops after a note has rung out; five seconds later a note
// starts it again before the next block, and that block already sounds.
TEST(SilenceGate, NoteAfterSilenceIsNeitherLostNorLate)
{
    const std::string small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    const std::string font = SynthEngine::isSoundFont(small) ? small : findGmSoundFont();
    if (font.empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    SynthEngine engine;
    ASSERT_TRUE(engine.loadSoundFont(font));

    constexpr int kBlock = 64;
    const auto blockTime = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
        double(kBlock) / engine.sampleRate()));
    Clock::time_point now{};
    SilenceGate gate;
    OnsetProbe probe;
    std::vector<float> buffer(2 * kBlock);
    std::optional<Clock::time_point> onset;
    auto renderBlock = [&] {
        engine.render(buffer.data(), kBlock);
        float peak = 0;
        for (float v : buffer)
            peak = std::max(peak, std::fabs(v));
        if (auto sent = probe.block(peak))
            onset = sent;
        const bool stop = gate.rendered(peak, engine.activeVoices(), now);
        now += blockTime;
        return stop;
    };
    auto strike = [&](int key) {
        onset.reset();
        probe.noteOn(now);
        engine.send(packShortMessage(0x90, key, 127));
        return gate.played(engine.activeVoices());
    };

    // Blocks rendered from a note-on until it is heard.
    auto blocksToSound = [&] {
        int blocks = 0;
        while (!onset && blocks < 100) {
            EXPECT_FALSE(renderBlock());
            ++blocks;
        }
        return blocks;
    };

    ASSERT_TRUE(strike(60));
    const auto struck = now;
    const int first = blocksToSound();
    EXPECT_EQ(onset, struck);
    EXPECT_LE(first, 3) << "heard within the synthesiser's own attack";
    while (now - struck < milliseconds(250))
        EXPECT_FALSE(renderBlock());
    engine.send(packShortMessage(0x80, 60));
    EXPECT_FALSE(gate.played(engine.activeVoices()));
    const auto released = now;
    while (!renderBlock())
        ASSERT_LT(now - released, std::chrono::seconds(30)) << "the tail never fell silent";
    EXPECT_GE(now - released, SilenceGate::kHold);
    EXPECT_FALSE(gate.running());

    now += std::chrono::seconds(5); // nothing rendered, nothing asked
    const auto woken = now;
    EXPECT_TRUE(strike(60)) << "a note after silence starts the stream at once";
    EXPECT_EQ(blocksToSound(), first) << "and is heard as soon as the first note was";
    EXPECT_EQ(onset, woken);
}
