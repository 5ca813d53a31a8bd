#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "keyrig/PerformanceRecorder.h"
#include "keyrig/RecordingFile.h"
#include "platform/midi/MidiMessage.h"
#include "tests/keyrig/FakeClock.h"
#include "tests/support/MusicFolder.h"

namespace {

using platform::midi::packShortMessage;
using platform::midi::TimedMessage;

std::vector<std::pair<std::int64_t, std::uint32_t>> flat(const std::vector<TimedMessage>& messages)
{
    std::vector<std::pair<std::int64_t, std::uint32_t>> out;
    for (const TimedMessage& m : messages)
        out.emplace_back(m.microseconds, m.packed);
    return out;
}

TEST(PerformanceRecorder, OpensWithTheSoundsInUseAndClosesEverySoundingNote)
{
    PerformanceRecorder r;
    r.setClock(&fakeNow);
    fakeMicroseconds = 5'000'000;
    r.take(packShortMessage(0xB0, 0x00, 1)); // channel 0: bank 1/2, program 24
    r.take(packShortMessage(0xB0, 0x20, 2));
    r.take(packShortMessage(0xC0, 24));
    r.take(packShortMessage(0xC5, 7));        // channel 5: a program without bank select
    r.take(packShortMessage(0x90, 60, 100)); // before the take: not in it
    r.start();
    fakeMicroseconds += 1'000;
    r.take(packShortMessage(0x90, 62, 100));
    r.take(packShortMessage(0x99, 36, 127));
    fakeMicroseconds += 1'000;
    r.take(packShortMessage(0x90, 64, 90));
    r.take(packShortMessage(0x90, 64, 0)); // a note-on of velocity 0 ends the note
    r.take(packShortMessage(0x80, 60, 0)); // the note struck before the take
    fakeMicroseconds += 3'000;
    EXPECT_TRUE(r.stop());
    EXPECT_TRUE(r.hasTake());
    EXPECT_EQ(r.endMicroseconds(), 5'000);
    const std::vector<std::pair<std::int64_t, std::uint32_t>> expected{
        {0, packShortMessage(0xB0, 0x00, 1)},   {0, packShortMessage(0xB0, 0x20, 2)},
        {0, packShortMessage(0xC0, 24)},        {0, packShortMessage(0xC5, 7)},
        {1000, packShortMessage(0x90, 62, 100)}, {1000, packShortMessage(0x99, 36, 127)},
        {2000, packShortMessage(0x90, 64, 90)},  {2000, packShortMessage(0x90, 64, 0)},
        {2000, packShortMessage(0x80, 60, 0)},   {5000, packShortMessage(0x80, 62)},
        {5000, packShortMessage(0x89, 36)},
    };
    EXPECT_EQ(flat(r.messages()), expected);
    r.discard();
    EXPECT_FALSE(r.hasTake());

    r.start(); // a take of nothing is dropped
    EXPECT_FALSE(r.stop());
    EXPECT_FALSE(r.hasTake());
}

TEST(PerformanceRecorder, AFullTakeEndsByItself)
{
    PerformanceRecorder r(4);
    r.setClock(&fakeNow);
    int full = 0;
    r.onFull = [&full] { ++full; };
    r.start();
    for (int key = 60; key < 66; ++key) {
        fakeMicroseconds += 1'000;
        r.take(packShortMessage(0x90, key, 100));
    }
    EXPECT_EQ(full, 1);
    EXPECT_FALSE(r.isRecording());
    ASSERT_TRUE(r.hasTake());
    // Four notes fit; their note-offs come at the moment the room ran out.
    ASSERT_EQ(r.messages().size(), 8u);
    EXPECT_EQ(r.messages()[4].packed, packShortMessage(0x80, 60));
    EXPECT_EQ(r.messages()[7].microseconds, 5'000);
}

TEST(RecordingFile, NamesTheTakeAndNeverWritesOverAnother)
{
    QTemporaryDir home;
    const QString folder = home.filePath("Music/new");
    const QDateTime when(QDate(2026, 3, 9), QTime(7, 5, 3));
    EXPECT_EQ(RecordingFile::fileName(when), "keyrig-20260309-070503.mid");
    const auto first = RecordingFile::write(folder, when, "one");
    const auto second = RecordingFile::write(folder, when, "two");
    ASSERT_TRUE(first.ok() && second.ok()) << first.error.toStdString() << second.error.toStdString();
    EXPECT_EQ(first.path, folder + "/keyrig-20260309-070503.mid");
    EXPECT_EQ(second.path, folder + "/keyrig-20260309-070503-2.mid");
    QFile file(first.path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "one");
}

TEST(RecordingFile, TheMusicFolderFallsBackToMusicInTheHomeFolder)
{
    QTemporaryDir home;
    const MusicFolder none(home.filePath("no-config")); // no user-dirs.dirs names one
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    EXPECT_EQ(RecordingFile::musicFolder(), home.filePath("Music"));
    qputenv("HOME", savedHome);
}

} // namespace
