#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/midi/MidiFileReader.h"
#include "platform/midi/MidiMessage.h"
#include "tests/support/ExternalReaders.h"
#include "tests/support/MidiBytes.h"
#include "tests/support/TestSupport.h"

using namespace platform::midi;
using namespace midibytes;


// Running status (also after a meta event), system exclusive, a chunk of
// another kind, and a tempo map in the first track that times the second.
TEST(MidiFileReader, RunningStatusSysexForeignChunksAndATempoMapAcrossTracks)
{
    const QByteArray conductor = bytes({0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20,          // 500000 us a quarter
                                        0x87, 0x40, 0xFF, 0x51, 3, 0x03, 0xD0, 0x90}) // at tick 960: 250000
                                 + EndOfTrack;
    const QByteArray notes = bytes({0, 0x90, 60, 100, 0x83, 0x60, 62, 100,         // running status at tick 480
                                    0, 0xF0, 2, 0x7E, 0xF7, 0, 0xFF, 0x01, 1, 'x', // sysex and text
                                    0x83, 0x60, 60, 0,                             // still running: tick 960
                                    0x83, 0x60, 0xC1, 7})
                             + EndOfTrack;
    const QByteArray file =
        header(1, 2, 480) + chunk("MTrk", conductor) + chunk("XFIH", "anything") + chunk("MTrk", notes);
    const MidiFileReadResult read = readStandardMidiFile(file);
    ASSERT_TRUE(read) << read.error.toStdString();
    ASSERT_EQ(read.contents.tracks.size(), 2u);
    const std::vector<MidiFileEvent>& events = read.contents.tracks[1].events;
    ASSERT_EQ(events.size(), 4u);
    const std::pair<std::int64_t, std::uint32_t> expected[] = {{0, packShortMessage(0x90, 60, 100)},
                                                              {480, packShortMessage(0x90, 62, 100)},
                                                              {960, packShortMessage(0x90, 60, 0)},
                                                              {1440, packShortMessage(0xC1, 7)}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(events[i].tick, expected[i].first);
        EXPECT_EQ(events[i].packed, expected[i].second);
    }
    const MidiTempoMap& tempo = read.contents.tempo;
    EXPECT_DOUBLE_EQ(tempo.microseconds(960), 1e6);
    EXPECT_DOUBLE_EQ(tempo.microseconds(1440), 1.25e6); // the faster tempo from tick 960 on
    EXPECT_DOUBLE_EQ(tempo.quarters(1440), 3.0);        // quarters count ticks, whatever the tempo
}

TEST(MidiFileReader, SmpteTimeCountsQuartersThroughTheTempo)
{
    // 25 frames of 40 ticks: 1000 ticks a second; 120 quarters a minute, then 60 from tick 1000.
    const QByteArray track = bytes({0x87, 0x68, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40}) + EndOfTrack;
    const MidiFileReadResult read = readStandardMidiFile(header(0, 1, (0xE7 << 8) | 40) + chunk("MTrk", track));
    ASSERT_TRUE(read) << read.error.toStdString();
    EXPECT_EQ(read.contents.framesPerSecond, 25);
    EXPECT_DOUBLE_EQ(read.contents.tempo.microseconds(2000), 2e6);
    EXPECT_DOUBLE_EQ(read.contents.tempo.quarters(1000), 2.0);
    EXPECT_DOUBLE_EQ(read.contents.tempo.quarters(2000), 3.0);
}

TEST(MidiFileReader, BrokenFilesSayWhatIsWrong)
{
    const QByteArray note = bytes({0, 0x90, 60, 100});
    const struct {
        const char* what;
        QByteArray file;
        const char* says;
    } cases[] = {
        {"no header", "RIFF....", "does not begin with a MIDI header"},
        {"short header", QByteArray("MThd\0\0\0\6\0\0", 10), "header is cut short"},
        {"format 2", header(2, 1, 96) + chunk("MTrk", EndOfTrack), "format 2"},
        {"format 7", header(7, 1, 96), "format 7"},
        {"division 0", header(0, 1, 0) + chunk("MTrk", EndOfTrack), "division of 0 ticks a quarter"},
        {"SMPTE 0 ticks", header(0, 1, 0xE700) + chunk("MTrk", EndOfTrack), "division of 0 ticks a frame"},
        {"SMPTE 26 frames", header(0, 1, 0xE628) + chunk("MTrk", EndOfTrack), "26 SMPTE frames"},
        {"chunk past the end", header(0, 1, 96) + chunk("MTrk", note + EndOfTrack).chopped(3), "chunk 1 runs past the end"},
        {"chunk without a type", header(0, 1, 96) + chunk("\x01\x02\x03\x04", "") + chunk("MTrk", EndOfTrack),
         "chunk 1 has no chunk type"},
        {"tracks missing", header(1, 3, 96) + chunk("MTrk", EndOfTrack), "declares 3 tracks but it holds 1"},
        {"event past the track's end", header(0, 1, 96) + chunk("MTrk", bytes({0, 0x90, 60})), "track 1 runs past its end"},
        {"meta past the track's end", header(0, 1, 96) + chunk("MTrk", bytes({0, 0xFF, 0x03, 9, 'a'})), "runs past its end"},
        {"five-byte delta", header(0, 1, 96) + chunk("MTrk", bytes({0x81, 0x81, 0x81, 0x81, 0x01}) + EndOfTrack),
         "delta time longer than four bytes"},
        {"data without status", header(0, 1, 96) + chunk("MTrk", bytes({0, 60, 100}) + EndOfTrack), "data byte without a status"},
        {"system status", header(0, 1, 96) + chunk("MTrk", bytes({0, 0xF2, 1, 2}) + EndOfTrack), "0xf2"},
        {"status inside a message", header(0, 1, 96) + chunk("MTrk", bytes({0, 0x90, 60, 0x90}) + EndOfTrack), "cut short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const MidiFileReadResult read = readStandardMidiFile(c.file);
        EXPECT_FALSE(read);
        EXPECT_TRUE(read.error.contains(QLatin1String(c.says))) << read.error.toStdString();
        EXPECT_TRUE(read.contents.tracks.empty());
    }
}

// A file written by an independent program: Debian's mido, with two tempo
// changes in the first track and notes in two more (mido times them the same).
TEST(MidiFileReader, TimesEveryNoteAsMidoDoes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mido.mid"));
    static const char* script = R"(
import sys, mido
f = mido.MidiFile(type=1, ticks_per_beat=384)
f.tracks.append(mido.MidiTrack([mido.MetaMessage('set_tempo', tempo=600000, time=0),
    mido.MetaMessage('set_tempo', tempo=400000, time=1000), mido.MetaMessage('set_tempo', tempo=900000, time=700)]))
for channel, step in ((0, 130), (3, 311)):
    t = mido.MidiTrack()
    for i in range(12):
        t.append(mido.Message('note_on', channel=channel, note=60 + i, velocity=80, time=0 if i == 0 else step))
        t.append(mido.Message('note_off', channel=channel, note=60 + i, velocity=0, time=step // 2))
    f.tracks.append(t)
f.save(sys.argv[1])
)";
    const readers::ToolRun wrote = readers::runTool(QStringLiteral("/usr/bin/python3"), {"-c", script, path});
    ASSERT_TRUE(wrote.ran && wrote.exitCode == 0) << wrote.err.toStdString();
    const readers::MidoFile mido = readers::readWithMido(path);
    ASSERT_TRUE(mido.read) << mido.problem.toStdString();
    const MidiFileReadResult read = readStandardMidiFile(testfiles::readAll(path));
    ASSERT_TRUE(read) << read.error.toStdString();

    std::vector<std::pair<std::int64_t, double>> ours, theirs;
    for (const MidiFileTrack& track : read.contents.tracks)
        for (const MidiFileEvent& e : track.events)
            ours.emplace_back(e.tick, read.contents.tempo.microseconds(e.tick) / 1e6);
    for (const readers::MidoEvent& e : mido.events)
        theirs.emplace_back(e.tick, e.seconds);
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    ASSERT_EQ(ours.size(), 48u);
    ASSERT_EQ(ours.size(), theirs.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
        EXPECT_EQ(ours[i].first, theirs[i].first);
        EXPECT_NEAR(ours[i].second, theirs[i].second, 1e-9);
    }
}
