#include "MidiFixture.h"

namespace {

using VBMIDITest = MidiFixture;

TEST_F(VBMIDITest, SendsTheExactPackedMessages)
{
    VBMIDI::SendNoteOn(0, 60, 100);
    VBMIDI::SendNoteOff(9, 36);
    VBMIDI::SendProgram(0, 24);
    EXPECT_EQ(sent(), (std::vector<std::uint32_t>{0x00643C90, 0x00002489, 0x000000B0, 0x000020B0, 0x000018C0}));
    EXPECT_EQ(VBMIDI::PortResult(), 0);
}

TEST_F(VBMIDITest, NeverSendsDataOutsideTheMidiRange)
{
    VBMIDI::SendNoteOn(0, 128, 100);
    VBMIDI::SendNoteOn(0, 60, 128);
    VBMIDI::SendNoteOn(16, 60, 100);
    VBMIDI::SendNoteOff(0, -1);
    VBMIDI::SendProgram(0, 200);
    EXPECT_TRUE(sent().empty());
}

TEST_F(VBMIDITest, ReportsFailedOpenAndCloseAndGoesOn)
{
    VBMIDI::CloseMidiOut();
    EXPECT_TRUE(messages().isEmpty());
    VBMIDI::PortDevice() = 7; // no such device
    VBMIDI::OpenMidiOut();
    EXPECT_EQ(messages(), QStringList{"Open MIDI Out failed"});
    EXPECT_NE(VBMIDI::PortResult(), 0);
    VBMIDI::SendNoteOn(0, 60, 100); // lost, not shown
    EXPECT_NE(VBMIDI::PortResult(), 0);
    VBMIDI::CloseMidiOut();
    EXPECT_EQ(messages(), (QStringList{"Open MIDI Out failed", "Close MIDI Out failed"}));

    VBMIDI::PortDevice() = 2;
    VBMIDI::OpenMidiOut();
    VBMIDI::SendNoteOn(0, 60, 100);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].device, 2);
    EXPECT_EQ(messages().size(), 2);
}

} // namespace
