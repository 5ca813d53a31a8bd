// Files written by independent programs: MuseScore 3 (from a MusicXML file
// written by hand, as .mxl, .mid and its own MusicXML) and Python's mido.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "ImportSupport.h"
#include "notivo/score/ReadAnyScore.h"
#include "tests/support/ExternalReaders.h"
#include "tests/support/TestSupport.h"

using namespace notivo;
using importsupport::shown;
using importsupport::shownColumns;

namespace {

TEST(ImportFromOtherPrograms, MuseScoresMxlMidiAndMusicXmlReadAsTheHandWrittenScore)
{
    const QString handWritten = sourceDir() + QStringLiteral("/tests/data/import/hand_written.musicxml");
    const QStringList expected = {"E5=3 C5=3", "q", "Bb4=2", "F#4=4", "Q", "G4=2", "A4=2", "D5=4", "C4=5"};
    Score score;
    const ScoreReadResult read = readAnyScore(score, handWritten);
    ASSERT_TRUE(read) << read.problem.toStdString();
    EXPECT_EQ(shownColumns(score), shown(expected));
    EXPECT_EQ(read.report.toStdString(), "");

    QTemporaryDir folder;
    for (const char* type : {"mxl", "musicxml", "mid"}) {
        SCOPED_TRACE(type);
        const QString path = folder.filePath(QStringLiteral("by_musescore.") + QLatin1String(type));
        const readers::ToolRun run = readers::runTool(QStringLiteral("mscore3"), {"-o", path, handWritten}, 120000);
        ASSERT_TRUE(run.ran && run.exitCode == 0) << run.err.toStdString();
        Score other;
        const ScoreReadResult otherRead = readAnyScore(other, path);
        ASSERT_TRUE(otherRead) << otherRead.problem.toStdString();
        // MIDI knows keys, not spellings: the black key B flat comes back as A sharp.
        QStringList columns = expected;
        if (QLatin1String(type) == QLatin1String("mid"))
            columns.replace(2, "A#4=2");
        EXPECT_EQ(shownColumns(other), shown(columns));
        EXPECT_EQ(otherRead.report.toStdString(), "");
    }
}

// Two tracks of notes on two channels, a drum track, a tempo change, a note
// struck again before its note-off, and one left sounding at the end.
TEST(ImportFromOtherPrograms, AMidiFileMidoWroteMergesItsTracksAsNotation)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mido.mid"));
    static const char* script = R"(
import sys, mido
q = 240
f = mido.MidiFile(type=1, ticks_per_beat=q)
f.tracks.append(mido.MidiTrack([mido.MetaMessage('set_tempo', tempo=400000, time=0),
                                mido.MetaMessage('set_tempo', tempo=700000, time=3 * q)]))
melody = mido.MidiTrack()
for note, length in ((72, q), (74, q // 2), (76, q // 2), (77, 2 * q)):
    melody.append(mido.Message('note_on', channel=0, note=note, velocity=90, time=0))
    melody.append(mido.Message('note_off', channel=0, note=note, velocity=0, time=length - 10))
    melody.append(mido.Message('note_off', channel=0, note=0, velocity=0, time=10))
melody.append(mido.Message('note_on', channel=0, note=79, velocity=90, time=q))
melody.append(mido.Message('note_on', channel=0, note=79, velocity=90, time=q // 4))
f.tracks.append(melody)
f.tracks.append(mido.MidiTrack([mido.Message('note_on', channel=2, note=48, velocity=70, time=0),
                                mido.Message('note_on', channel=2, note=48, velocity=0, time=2 * q)]))
f.tracks.append(mido.MidiTrack([mido.Message('note_on', channel=9, note=36, velocity=100, time=0),
                                mido.Message('note_on', channel=9, note=38, velocity=100, time=q)]))
f.save(sys.argv[1])
)";
    const readers::ToolRun wrote = readers::runTool(QStringLiteral("/usr/bin/python3"), {"-c", script, path});
    ASSERT_TRUE(wrote.ran && wrote.exitCode == 0) << wrote.err.toStdString();
    Score score;
    const ScoreReadResult read = readAnyScore(score, path);
    ASSERT_TRUE(read) << read.problem.toStdString();
    // The bass's half note ends with the melody's next column; a quarter's
    // silence; G5 struck again after a semiquaver; the second G5 sounds to its track's end.
    EXPECT_EQ(shownColumns(score), shown({"C5=3 C3=3", "D5=2", "E5=2", "F5=4", "Q", "G5=1", "G5=1"}));
    EXPECT_EQ(read.report.toStdString(), "2 percussion notes left out");
}

} // namespace
