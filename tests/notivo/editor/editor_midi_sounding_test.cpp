// A note-off must reach the channel, key and device of its note-on, even when
// the instrument or the device changed while the note sounded (a preview or a
// run is waiting while the user picks another instrument or device).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "notivo/editor/EditorMidi.h"
#include "platform/midi/MidiMessage.h"
#include "tests/support/RecorderMidi.h"

using notivo::EditorMidi;
using platform::midi::RecorderMidiService;

namespace {

// The holder of the notes of these tests, as one preview would be.
const notivo::NoteHolder Preview = notivo::newNoteHolder();

constexpr int MiddleC = 67;        // inverted pitch value of key 60
constexpr int ChurchOrgan = 19;    // a program whose notes never die away by themselves
constexpr int DrumKey61 = 128 + 26; // list entry of percussion key 61

std::uint32_t on(int channel, int key) { return platform::midi::packShortMessage(0x90 + channel, key, 127); }
std::uint32_t off(int channel, int key) { return platform::midi::packShortMessage(0x80 + channel, key, 0); }

class EditorMidiSoundingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::midi::installMidiService(&recorder);
        ASSERT_TRUE(midi.openFirstDevice());
    }
    void TearDown() override { platform::midi::installMidiService(nullptr); }

    // Note messages only, with the device they went to.
    std::vector<std::pair<int, std::uint32_t>> notes() const
    {
        std::vector<std::pair<int, std::uint32_t>> out;
        for (const auto& m : recorder.messages())
            if ((m.packed & 0xE0) == 0x80)
                out.emplace_back(m.device, m.packed);
        return out;
    }

    RecorderMidiService recorder{2};
    EditorMidi midi;
};

TEST_F(EditorMidiSoundingTest, ANoteOffFollowsItsNoteOnAcrossInstrumentChanges)
{
    struct Case {
        const char* what;
        int before, after;
        std::uint32_t noteOn, noteOff;
    };
    const Case cases[] = {
        {"program to drum", ChurchOrgan, DrumKey61, on(0, 60), off(0, 60)},
        {"drum to program", DrumKey61, ChurchOrgan, on(9, 61), off(9, 61)},
        {"one drum to another", DrumKey61, 128, on(9, 61), off(9, 61)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        midi.SetInstrument(c.before);
        recorder.clear();
        midi.NoteOn(MiddleC, Preview);
        midi.SetInstrument(c.after);
        midi.NoteOff(MiddleC, Preview);
        const int mapper = platform::midi::MidiMapper;
        EXPECT_EQ(notes(), (std::vector<std::pair<int, std::uint32_t>>{{mapper, c.noteOn}, {mapper, c.noteOff}}));
    }

    // A note-off of a note that is not sounding (the sweep at the end of a
    // run) goes out as the instrument now says.
    recorder.clear();
    midi.SetInstrument(DrumKey61);
    midi.NoteOff(40, Preview);
    EXPECT_EQ(notes(), (std::vector<std::pair<int, std::uint32_t>>{{platform::midi::MidiMapper, off(9, 61)}}));
}

TEST_F(EditorMidiSoundingTest, SwitchingTheDeviceReleasesWhatTheOldOneSounds)
{
    midi.SetInstrument(ChurchOrgan);
    recorder.clear();
    midi.NoteOn(MiddleC, Preview);
    midi.NoteOn(MiddleC - 2, Preview);
    ASSERT_EQ(midi.switchDevice(1), 0);
    midi.NoteOff(MiddleC, Preview); // late, and harmless on the new device
    const int mapper = platform::midi::MidiMapper;
    EXPECT_EQ(notes(), (std::vector<std::pair<int, std::uint32_t>>{{mapper, on(0, 60)},
                                                                  {mapper, on(0, 62)},
                                                                  {mapper, off(0, 60)},
                                                                  {mapper, off(0, 62)},
                                                                  {1, off(0, 60)}}));

    // A device that fails to open leaves the old one in use, with nothing
    // left sounding on it either.
    recorder.clear();
    recorder.setFailingDevices({0});
    midi.NoteOn(MiddleC, Preview);
    EXPECT_NE(midi.switchDevice(0), 0);
    EXPECT_EQ(midi.MidiDevice, 1);
    EXPECT_EQ(notes(), (std::vector<std::pair<int, std::uint32_t>>{{1, on(0, 60)}, {1, off(0, 60)}}));
}

// Two timelines sound one key: a note-off ends only its own timeline's
// note, and the key goes silent when the last holder lets go.
TEST_F(EditorMidiSoundingTest, ANoteOffEndsOnlyItsOwnTimelinesNote)
{
    const notivo::NoteHolder run = notivo::newNoteHolder();
    const int mapper = platform::midi::MidiMapper;
    using Sent = std::vector<std::pair<int, std::uint32_t>>;
    struct Step {
        bool on;
        int v;
        notivo::NoteHolder holder;
        Sent sent;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"a preview ends while the run sounds its key",
         {{true, MiddleC, run, {{mapper, on(0, 60)}}},
          {true, MiddleC, Preview, {{mapper, on(0, 60)}}},
          {false, MiddleC, Preview, {}},
          {false, MiddleC, run, {{mapper, off(0, 60)}}}}},
        {"the run's sweep leaves the preview's key alone",
         {{true, MiddleC, Preview, {{mapper, on(0, 60)}}},
          {false, MiddleC, run, {}},
          {false, MiddleC - 2, run, {{mapper, off(0, 62)}}},
          {false, MiddleC, Preview, {{mapper, off(0, 60)}}}}},
        {"a timeline striking its key again still ends it with one note-off",
         {{true, MiddleC, run, {{mapper, on(0, 60)}}},
          {true, MiddleC, run, {{mapper, on(0, 60)}}},
          {false, MiddleC, run, {{mapper, off(0, 60)}}}}},
        {"exit releases every holder's note",
         {{true, MiddleC, run, {{mapper, on(0, 60)}}},
          {true, MiddleC, Preview, {{mapper, on(0, 60)}}},
          {false, MiddleC, notivo::EveryHolder, {{mapper, off(0, 60)}}},
          {false, MiddleC, run, {{mapper, off(0, 60)}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const Step& step : c.steps) {
            recorder.clear();
            if (step.on)
                midi.NoteOn(step.v, step.holder);
            else
                midi.NoteOff(step.v, step.holder);
            EXPECT_EQ(notes(), step.sent);
        }
    }
}

} // namespace
