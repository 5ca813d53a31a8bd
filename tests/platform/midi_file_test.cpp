#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QFile>

#include <random>

#include "platform/midi/MidiMessage.h"
#include "platform/midi/StandardMidiFile.h"

using namespace platform::midi;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

} // namespace

TEST(StandardMidiFile, WritesTypeZeroWithNameTempoMessagesAndEndOfTrack)
{
    const std::vector<TimedMessage> messages = {
        {1000000, packShortMessage(0x80, 60, 0)}, // given out of order: sorted by time
        {0, packShortMessage(0xC0, 5)},
        {0, packShortMessage(0x90, 60, 127)},     // same time as the program change: stays after it
        {1000000, 0x3C},                          // no status byte: left out
        {1000000, packShortMessage(0xF8, 0)},     // real-time byte: left out
    };
    const QByteArray file = standardMidiFile(QStringLiteral("Ab"), messages, 1500000);
    const QByteArray expected =
        bytes({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x03, 0xC0, 'M', 'T', 'r', 'k', 0, 0, 0, 30}) +
        bytes({0, 0xFF, 0x03, 2, 'A', 'b'}) +                   // track name
        bytes({0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20}) +           // 500000 us a quarter
        bytes({0, 0xC0, 5}) + bytes({0, 0x90, 60, 127}) +
        bytes({0x8F, 0x00, 0x80, 60, 0}) +                      // 1 s = 1920 ticks
        bytes({0x87, 0x40, 0xFF, 0x2F, 0}); // the closing rest: end of track at 1.5 s, 960 ticks later
    EXPECT_EQ(file.toHex(' '), expected.toHex(' '));
}

TEST(StandardMidiFile, NoTimeMovesByMoreThanAMillisecond)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int64_t> anyTime(0, 3600LL * 1000000);
    for (int i = 0; i < 10000; ++i) {
        const std::int64_t us = anyTime(random);
        const double back = double(smfTicks(us)) * SmfMicrosecondsPerQuarter / SmfTicksPerQuarter;
        ASSERT_LE(std::abs(back - double(us)), 1000.0) << us;
    }
    EXPECT_EQ(smfTicks(-5), 0);
    EXPECT_EQ(smfTicks(std::int64_t(1) << 60), 0x0FFFFFFF);
}

// The file read back by an independent reader: Debian's mido, for Debian's own
// Python (a python3 earlier on the PATH may not have it).
TEST(StandardMidiFile, AnotherReaderSeesTheSameMessagesAndTimes)
{
    std::vector<TimedMessage> messages;
    for (int i = 0; i < 200; ++i) {
        const std::int64_t us = std::int64_t(i) * 123457;
        messages.push_back({us, packShortMessage(0x99, 35 + i % 40, 100)});
        messages.push_back({us + 61728, packShortMessage(0x89, 35 + i % 40, 0)});
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.mid"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(standardMidiFile(QStringLiteral("Drums"), messages));
    out.close();

    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import sys, mido
f = mido.MidiFile(sys.argv[1])
assert f.type == 0 and len(f.tracks) == 1, (f.type, len(f.tracks))
t = 0.0
for m in f:
    t += m.time
    if not m.is_meta:
        print(round(t * 1e6), m.bytes()[0], m.bytes()[1], m.bytes()[2])
)"), path});
    ASSERT_TRUE(python.waitForFinished(30000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QList<QByteArray> lines = python.readAllStandardOutput().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 400);
    for (int i = 0; i < 400; ++i) {
        const TimedMessage& m = messages[i];
        const QList<QByteArray> f = lines[i].split(' ');
        ASSERT_EQ(f.size(), 4);
        EXPECT_NEAR(f[0].toLongLong(), m.microseconds, 1000) << i;
        EXPECT_EQ(f[1].toInt(), statusOf(m.packed)) << i;
        EXPECT_EQ(f[2].toInt(), data1Of(m.packed)) << i;
        EXPECT_EQ(f[3].toInt(), data2Of(m.packed)) << i;
    }
}
