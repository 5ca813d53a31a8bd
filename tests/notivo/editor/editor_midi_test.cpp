#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "notivo/editor/EditorMidi.h"
#include "tests/support/RecorderMidi.h"

using notivo::EditorMidi;
using platform::midi::RecorderMidiService;

namespace {

// The holder of the notes of these tests, as one preview would be.
const notivo::NoteHolder Preview = notivo::newNoteHolder();

class EditorMidiTest : public ::testing::Test {
protected:
    void SetUp() override { platform::midi::installMidiService(&recorder); }
    void TearDown() override { platform::midi::installMidiService(nullptr); }

    RecorderMidiService recorder{2};
};

// One instrument choice followed by a note of each given inverted pitch.
struct MessageCase {
    const char* what;
    int instrument;
    std::vector<int> pitches;
    std::vector<std::uint32_t> expected;
};

TEST_F(EditorMidiTest, InstrumentAndNotesSendTheExactPackedMessages)
{
    const std::vector<MessageCase> cases = {
        {"program 0 and middle C", 0, {67}, {0x00B0, 0x20B0, 0x00C0, 0x7F3C90, 0x3C80}},
        {"program 40", 40, {}, {0x00B0, 0x20B0, 0x28C0}},
        {"program 127", 127, {}, {0x00B0, 0x20B0, 0x7FC0}},
        {"entry 128 is drum key 35 on channel 10", 128, {67, 10}, {0x7F2399, 0x2389, 0x7F2399, 0x2389}},
        {"entry 174 is drum key 81", 174, {67}, {0x7F5199, 0x5189}},
        {"position 1 sharp sounds key 96", 0, {31}, {0x00B0, 0x20B0, 0x00C0, 0x7F6090, 0x6080}},
        {"position 30 flat sounds key 44", 0, {83}, {0x00B0, 0x20B0, 0x00C0, 0x7F2C90, 0x2C80}},
        {"a pitch beyond the top keeps the key within 0..127", 0, {-10}, {0x00B0, 0x20B0, 0x00C0, 0x7F7F90, 0x7F80}},
        {"a pitch beyond the bottom keeps the key within 0..127", 0, {200}, {0x00B0, 0x20B0, 0x00C0, 0x7F0090, 0x0080}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        recorder.clear();
        EditorMidi midi;
        ASSERT_TRUE(midi.openFirstDevice());
        midi.SetInstrument(c.instrument);
        for (int v : c.pitches) {
            midi.NoteOn(v, Preview);
            midi.NoteOff(v, Preview);
        }
        EXPECT_EQ(recorder.packedMessages(), c.expected);
    }
}

TEST_F(EditorMidiTest, AProgramAfterADrumEndsDrumModeAndKeepsTheDrumKey)
{
    EditorMidi midi;
    ASSERT_TRUE(midi.openFirstDevice());
    midi.SetInstrument(130);
    EXPECT_TRUE(midi.DrumMode[0]);
    EXPECT_EQ(midi.DrumNote[0], 37);
    midi.SetInstrument(5);
    EXPECT_FALSE(midi.DrumMode[0]);
    EXPECT_EQ(midi.DrumNote[0], 37);
    recorder.clear();
    midi.NoteOn(67, Preview);
    EXPECT_EQ(recorder.packedMessages(), (std::vector<std::uint32_t>{0x7F3C90}));
}

struct SearchCase {
    const char* what;
    int devices;
    std::set<int> failing;
    bool opens;
    int device;
};

TEST_F(EditorMidiTest, StartUpSearchTriesTheMapperFirstThenEachDevice)
{
    const std::vector<SearchCase> cases = {
        {"the mapper opens", 2, {}, true, -1},
        {"no output device but a working mapper", 0, {}, true, -1},
        {"mapper fails, device 0 opens", 2, {-1}, true, 0},
        {"mapper and device 0 fail", 3, {-1, 0}, true, 1},
        {"nothing opens", 2, {-1, 0, 1}, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecorderMidiService service(c.devices);
        service.setFailingDevices(c.failing);
        platform::midi::installMidiService(&service);
        {
            EditorMidi midi;
            EXPECT_EQ(midi.openFirstDevice(), c.opens);
            EXPECT_EQ(midi.MidiHandle.isOpen(), c.opens);
            EXPECT_EQ(service.openCount(), c.opens ? 1 : 0);
            if (c.opens)
                EXPECT_EQ(midi.MidiDevice, c.device);
            EXPECT_EQ(midi.MidiChannel, 0);
            EXPECT_EQ(midi.NoteVelocity, 127);
        }
        platform::midi::installMidiService(&recorder);
    }
}

TEST_F(EditorMidiTest, ADeviceThatFailsToOpenLeavesThePreviousOneWorking)
{
    recorder.setFailingDevices({1});
    EditorMidi midi;
    ASSERT_TRUE(midi.openFirstDevice());
    EXPECT_NE(midi.switchDevice(1), 0);
    EXPECT_EQ(midi.MidiDevice, -1);
    EXPECT_EQ(recorder.openCount(), 1);
    midi.NoteOn(67, Preview);
    const auto sent = recorder.messages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].device, -1);

    EXPECT_EQ(midi.switchDevice(0), 0);
    EXPECT_EQ(midi.MidiDevice, 0);
    EXPECT_EQ(recorder.openCount(), 1);
    // Picking the device in use opens it again; still one port.
    EXPECT_EQ(midi.switchDevice(0), 0);
    EXPECT_EQ(recorder.openCount(), 1);
    recorder.clear();
    midi.close();
    EXPECT_EQ(recorder.openCount(), 0);
    // Whatever still sounds is silenced on the melodic and the drum channel first.
    EXPECT_EQ(recorder.packedMessages(), (std::vector<std::uint32_t>{0x7BB0, 0x7BB9}));
    midi.close();
    EXPECT_EQ(recorder.packedMessages().size(), 2u);
    EXPECT_NE(midi.MidiResult, 0);
}

} // namespace
