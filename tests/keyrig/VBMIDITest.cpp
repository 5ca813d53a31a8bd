#include "MidiFixture.h"

namespace {

using VBMIDITest = MidiFixture;

TEST_F(VBMIDITest, SendsTheExactPackedMessages)
{
    midi.SendNoteOn(0, 60, 100);
    midi.SendNoteOff(9, 36);
    midi.SendProgram(0, 24);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{0x00643C90, 0x00002489, 0x000000B0, 0x000020B0, 0x000018C0}));
    EXPECT_EQ(midi.PortResult(), 0);
}

TEST_F(VBMIDITest, NeverSendsDataOutsideTheMidiRange)
{
    midi.SendNoteOn(0, 128, 100);
    midi.SendNoteOn(0, 60, 128);
    midi.SendNoteOn(16, 60, 100);
    midi.SendNoteOff(0, -1);
    midi.SendProgram(0, 200);
    EXPECT_TRUE(sent().empty());
}

TEST_F(VBMIDITest, ReportsFailedOpenAndCloseAndGoesOn)
{
    midi.CloseMidiOut();
    EXPECT_TRUE(messages().isEmpty());
    midi.setPortDevice(7); // no such device
    midi.OpenMidiOut();
    EXPECT_EQ(messages(), QStringList{"Open MIDI Out failed"});
    EXPECT_NE(midi.PortResult(), 0);
    midi.SendNoteOn(0, 60, 100); // lost, not shown
    EXPECT_NE(midi.PortResult(), 0);
    midi.CloseMidiOut();
    EXPECT_EQ(messages(), (QStringList{"Open MIDI Out failed", "Close MIDI Out failed"}));

    midi.setPortDevice(2);
    midi.OpenMidiOut();
    midi.SendNoteOn(0, 60, 100);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].device, 2);
    EXPECT_EQ(messages().size(), 2);
}

// What keys and pads leave sounding ends on the device that sounded it,
// whatever closes the port; beat hits end by themselves.
TEST_F(VBMIDITest, EveryHeldNoteEndsOnItsOwnDeviceWhenThePortCloses)
{
    using Sent = std::pair<int, std::uint32_t>; // device, message
    auto sentWithDevices = [this] {
        std::vector<Sent> out;
        for (const auto& m : recorder.messages())
            out.emplace_back(m.device, m.packed);
        return out;
    };

    midi.SendNoteOn(0, 48, 100);
    midi.SendNoteOn(9, 36, 127);
    midi.SendNoteOn(9, 42, 90, VBMIDI::Ends::ByItself);
    midi.SendNoteOn(0, 50, 100);
    midi.SendNoteOff(0, 50);
    EXPECT_EQ(midi.soundingNotes(), 2u);

    // A device change: the held notes end on device 0 before it closes.
    recorder.clear();
    midi.CloseMidiOut();
    midi.setPortDevice(1);
    midi.OpenMidiOut();
    EXPECT_EQ(sentWithDevices(), (std::vector<Sent>{{0, off(0, 48)}, {0, off(9, 36)}}));
    EXPECT_EQ(recorder.openCount(), 1);

    // A failed reopen leaves nothing open and nothing sounding; the next
    // close fails without sending anything.
    midi.SendNoteOn(0, 60, 100);
    recorder.setFailingDevices({2});
    recorder.clear();
    midi.CloseMidiOut();
    midi.setPortDevice(2);
    midi.OpenMidiOut();
    midi.SendNoteOn(0, 62, 100); // lost: nothing is open
    midi.CloseMidiOut();
    EXPECT_EQ(sentWithDevices(), (std::vector<Sent>{{1, off(0, 60)}}));
    EXPECT_EQ(messages(), (QStringList{"Open MIDI Out failed", "Close MIDI Out failed"}));
    EXPECT_EQ(midi.soundingNotes(), 0u);
    EXPECT_EQ(recorder.openCount(), 0);
}

// A menu choice or key that reaches the window after its exit opens nothing:
// no device stays open once the window has closed.
TEST_F(VBMIDITest, AfterTheExitNothingOpensThePortAgain)
{
    midi.CloseForExit();
    EXPECT_EQ(recorder.openCount(), 0);
    midi.CloseMidiOut(); // a base-key or device change
    midi.setPortDevice(1);
    midi.OpenMidiOut();
    midi.SendNoteOn(0, 60, 100);
    EXPECT_EQ(recorder.openCount(), 0);
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_TRUE(messages().isEmpty());
}

} // namespace
