#include <gtest/gtest.h>

#include <vector>

#include "platform/midi/MidiMessage.h"
#include "platform/midi/ShortMessageDecoder.h"

using namespace platform::midi;

TEST(MidiMessage, PacksStatusAndDataBytesLowByteFirst)
{
    struct Case {
        int status, data1, data2;
        std::uint32_t packed;
    } cases[] = {
        {0x90, 60, 127, 0x7F3C90}, // note-on middle C
        {0x80, 60, 0, 0x003C80},   // note-off
        {0xB0, 0, 0, 0x0000B0},    // bank select coarse
        {0xB0, 32, 0, 0x0020B0},   // bank select fine
        {0xC0, 5, 0, 0x0005C0},    // program change
        {0x99, 35, 127, 0x7F2399}, // drum note on channel 10
    };
    for (const Case& c : cases) {
        const std::uint32_t packed = packShortMessage(c.status, c.data1, c.data2);
        EXPECT_EQ(packed, c.packed) << std::hex << c.status;
        EXPECT_EQ(packed, static_cast<std::uint32_t>(c.status + c.data1 * 256 + c.data2 * 65536));
        EXPECT_EQ(statusOf(packed), c.status);
        EXPECT_EQ(data1Of(packed), c.data1);
        EXPECT_EQ(data2Of(packed), c.data2);
    }
}

TEST(MidiMessage, DataLengthFollowsTheStatus)
{
    struct Case {
        int status, length;
    } cases[] = {{0x80, 2}, {0x9F, 2}, {0xA3, 2}, {0xB0, 2}, {0xC0, 1}, {0xCF, 1}, {0xD2, 1}, {0xE0, 2},
                 {0xF1, 1}, {0xF2, 2}, {0xF3, 1}, {0xF6, 0}, {0xF8, 0}, {0xFF, 0}, {0x3C, 0}, {0x00, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(dataLength(c.status), c.length) << std::hex << c.status;
}

namespace {
std::vector<int> bytesOf(const std::optional<ShortMessage>& m)
{
    if (!m)
        return {};
    return std::vector<int>(m->bytes.begin(), m->bytes.begin() + m->length);
}
} // namespace

// Each case runs through one decoder in order, as on one open port.
TEST(ShortMessageDecoder, DecodesLikeTheShortMessageCall)
{
    struct Step {
        const char* what;
        std::uint32_t packed;
        std::vector<int> bytes; // empty: refused
    } steps[] = {
        {"data byte with nothing to run on", 0x00403C, {}},
        {"note-on", 0x7F3C90, {0x90, 60, 127}},
        {"note-off with velocity 0", 0x003C80, {0x80, 60, 0}},
        {"running status: low byte is data 1", 0x00403E, {0x80, 62, 64}},
        {"program change carries one byte", 0x7F05C0, {0xC0, 5}},
        {"running program change", 0x0007, {0xC0, 7}},
        {"channel pressure carries one byte", 0x3344D1, {0xD1, 0x44}},
        {"pitch bend", 0x4072E0, {0xE0, 0x72, 0x40}},
        {"real-time clock keeps running status", 0x0000F8, {0xF8}},
        {"still running after real-time", 0x2010, {0xE0, 0x10, 0x20}},
        {"data byte above 127 is refused", 0x80B0, {}},
        {"song select", 0x0003F3, {0xF3, 3}},
        {"system common cancels running status", 0x2010, {}},
        {"system exclusive is not a short message", 0x0000F0, {}},
        {"end of exclusive neither", 0x0000F7, {}},
        {"note-on with a data byte above 127 refused", 0x803C90, {}},
        {"refusal does not set running status", 0x1020, {}},
        {"bits above 23 are ignored", 0xFF7F3C99, {0x99, 60, 127}},
    };
    ShortMessageDecoder decoder;
    for (const Step& step : steps)
        EXPECT_EQ(bytesOf(decoder.decode(step.packed)), step.bytes) << step.what;
}

TEST(ShortMessageDecoder, EachDecoderHasItsOwnRunningStatus)
{
    ShortMessageDecoder a;
    ShortMessageDecoder b;
    ASSERT_TRUE(a.decode(0x7F3C90));
    EXPECT_TRUE(a.decode(0x0040));
    EXPECT_FALSE(b.decode(0x0040));
}
