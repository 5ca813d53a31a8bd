#include <gtest/gtest.h>

#include <thread>

#include "platform/midi/MidiMessage.h"
#include "platform/midi/MidiOut.h"
#include "tests/support/RecorderMidi.h"

using namespace platform::midi;

namespace {
// Installs a recorder for one test and puts the system service back after.
class MidiOutTest : public ::testing::Test {
protected:
    void SetUp() override { installMidiService(&recorder); }
    void TearDown() override { installMidiService(nullptr); }
    RecorderMidiService recorder{3};
};
} // namespace

TEST_F(MidiOutTest, ClosedHandleRefusesCloseAndSends)
{
    MidiOut out;
    EXPECT_FALSE(out.isOpen());
    EXPECT_EQ(out.close(), MidiNotOpen);
    EXPECT_EQ(out.shortMsg(packShortMessage(0x90, 60, 127)), MidiNotOpen);

    ASSERT_EQ(out.open(0), MidiOk);
    EXPECT_EQ(out.close(), MidiOk);
    EXPECT_EQ(out.close(), MidiNotOpen); // a second close fails too
    EXPECT_EQ(out.shortMsg(packShortMessage(0x80, 60, 0)), MidiNotOpen);
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(recorder.openCount(), 0);
}

TEST_F(MidiOutTest, FailedOpenKeepsThePortThatWasOpen)
{
    recorder.setFailingDevices({2});
    MidiOut out;
    ASSERT_EQ(out.open(1), MidiOk);

    struct Case {
        int device;
        int result;
    } failures[] = {{2, MidiNoDriver}, {3, MidiBadDevice}, {-2, MidiBadDevice}};
    for (const Case& c : failures) {
        EXPECT_EQ(out.open(c.device), c.result) << c.device;
        EXPECT_TRUE(out.isOpen());
        EXPECT_EQ(out.device(), 1);
    }

    EXPECT_EQ(out.shortMsg(packShortMessage(0x90, 64, 100)), MidiOk);
    const auto messages = recorder.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].device, 1);
    EXPECT_EQ(recorder.openCount(), 1);
}

TEST_F(MidiOutTest, MapperAndReopenUseOnePortAtATime)
{
    MidiOut out;
    ASSERT_EQ(out.open(MidiMapper), MidiOk);
    EXPECT_EQ(out.device(), MidiMapper);
    ASSERT_EQ(out.open(0), MidiOk); // switching devices releases the old port
    EXPECT_EQ(out.device(), 0);
    EXPECT_EQ(recorder.openCount(), 1);
    out.shortMsg(0x7F3C90);
    EXPECT_EQ(recorder.messages().back().device, 0);
}

TEST_F(MidiOutTest, DestroyingTheHandleClosesItsPort)
{
    {
        MidiOut out;
        ASSERT_EQ(out.open(0), MidiOk);
        EXPECT_EQ(recorder.openCount(), 1);
    }
    EXPECT_EQ(recorder.openCount(), 0);
}

TEST_F(MidiOutTest, DeviceListComesFromTheInstalledService)
{
    EXPECT_EQ(MidiOut::deviceCount(), 3);
    EXPECT_EQ(MidiOut::productName(MidiMapper), "Recorder Mapper");
    EXPECT_EQ(MidiOut::productName(2), "Recorder 2");
    EXPECT_EQ(MidiOut::productName(3), "");
}

TEST_F(MidiOutTest, RecorderKeepsOrderAndSteadyTimes)
{
    MidiOut out;
    ASSERT_EQ(out.open(0), MidiOk);
    const std::uint32_t sent[] = {0x00B0, 0x20B0, 0x00C0, 0x7F3C90, 0x003C80};
    const auto before = std::chrono::steady_clock::now();
    for (std::uint32_t packed : sent) {
        out.shortMsg(packed);
        if (packed == 0x7F3C90)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(recorder.packedMessages(), std::vector<std::uint32_t>(std::begin(sent), std::end(sent)));

    const auto messages = recorder.messages();
    EXPECT_GE(messages.front().time, before);
    for (std::size_t i = 1; i < messages.size(); ++i)
        EXPECT_GE(messages[i].time, messages[i - 1].time);
    EXPECT_GE(messages[4].time - messages[3].time, std::chrono::milliseconds(20));

    recorder.clear();
    EXPECT_TRUE(recorder.messages().empty());
}
