#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "ExportScores.h"
#include "notivo/score/MusicXmlWriter.h"
#include "notivo/score/ScoreExport.h"
#include "tests/support/ExternalReaders.h"

using namespace notivo;

namespace {

// A note as a notation program plays it back: start and length in
// semiquavers, MIDI key.  Tied notes come back as one long note.
struct PlayedNote {
    int start, length, key;
    bool operator<(const PlayedNote& o) const { return std::tie(start, key) < std::tie(o.start, o.key); }
    bool operator==(const PlayedNote&) const = default;
};

std::vector<PlayedNote> notesOf(const readers::MidoFile& file)
{
    std::vector<PlayedNote> notes;
    std::map<int, long long> sounding;
    const long long semiquaver = file.ticksPerBeat / 4;
    for (const readers::MidoEvent& e : file.events) {
        if (e.type == QLatin1String("note_on")) {
            sounding[e.data1] = e.tick;
        } else if (e.type == QLatin1String("note_off") && sounding.count(e.data1)) {
            // MuseScore shortens what it plays a little: round to the nearest semiquaver.
            const long long start = sounding[e.data1];
            notes.push_back({int((start + semiquaver / 2) / semiquaver),
                             int((e.tick - start + semiquaver / 2) / semiquaver), e.data1});
            sounding.erase(e.data1);
        }
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

std::vector<PlayedNote> readBack(const Score& score, const QString& folder, int tempo = 110)
{
    const QString xml = folder + QStringLiteral("/score.musicxml");
    EXPECT_TRUE(exportScore(score, xml, FileFormat::MusicXml, {tempo, 0}));
    const readers::MidoFile file = readers::readMusicXmlWithMuseScore(xml, folder + QStringLiteral("/score.mid"));
    EXPECT_TRUE(file.read) << file.problem.toStdString();
    return notesOf(file);
}

TEST(MusicXml, MuseScoreReadsThePitchesValuesRestsAndTies)
{
    Score score;
    exportscores::fillSmallScore(score);
    QTemporaryDir folder;
    // The whole and the quarter start together; the next column waits for
    // the whole; the rest, the sharp, the flat and the quaver rest follow;
    // the half note starts on beat 4 and is tied over the barline.
    const std::vector<PlayedNote> expected = {
        {0, 4, 62}, {0, 16, 79}, {20, 4, 77}, {24, 2, 66}, {28, 8, 60},
    };
    EXPECT_EQ(readBack(score, folder.path()), expected);
}

TEST(MusicXml, ChordOfOneValueAndAWholeNoteThatStartsLateInTheBar)
{
    Score score;
    score.placeNote(19, 1, NoteId::Quaver, 0);      // E4
    score.placeNote(17, 1, NoteId::Quaver, 0);      // G4
    score.placeNote(15, 1, NoteId::Quaver, 0);      // B4
    score.placeNote(14, 2, NoteId::Semiquaver, Accidental::Sharp); // C#5
    score.insertGap(3);                             // an empty column plays as a semiquaver rest
    score.placeNote(21, 4, NoteId::Whole, Accidental::Flat);       // Cb4, from the fourth semiquaver on
    QTemporaryDir folder;
    const std::vector<PlayedNote> expected = {{0, 2, 64}, {0, 2, 67}, {0, 2, 71}, {2, 1, 73}, {4, 16, 59}};
    EXPECT_EQ(readBack(score, folder.path()), expected);
}

TEST(MusicXml, AllFiveValuesInOneColumnFitTheFourVoicesOfAStaff)
{
    Score score;
    const int positions[] = {10, 12, 14, 16, 18}; // G5 E5 C5 A4 F4
    for (int id = NoteId::Semiquaver; id <= NoteId::Whole; ++id)
        score.placeNote(positions[id - 1], 1, std::uint8_t(id), 0);
    // A rest among them, as a score file may hold: it gives way, and the quaver still lasts its length.
    score.ScoreNotes.cell(RestPosition, 1) = NoteId::QuarterPause;
    score.placeRest(2, NoteId::QuarterPause);
    score.placeNote(21, 3, NoteId::Quarter, 0);
    QTemporaryDir folder;
    const std::vector<PlayedNote> expected = {{0, 16, 65}, {0, 8, 69}, {0, 4, 72}, {0, 2, 76}, {0, 1, 79}, {20, 4, 60}};
    std::vector<PlayedNote> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(readBack(score, folder.path()), sorted);
}

// What the notes carry besides their sound: accidentals, bars, the barline,
// the part and the metronome mark.
TEST(MusicXml, AccidentalsBarsAndMarksAreWritten)
{
    Score score;
    score.placeNote(12, 1, NoteId::Quarter, Accidental::Sharp);
    score.placeNote(12, 2, NoteId::Quarter, 0); // the same line after a sharp: a natural is shown
    score.placeNote(17, 3, NoteId::Whole, Accidental::Flat);
    QXmlStreamReader xml(musicXml(score, 110, QStringLiteral("Violin")));
    QStringList accidentals;
    std::vector<int> barLengths;
    int voiceOneLength = 0;
    QString partName, perMinute, barStyle, currentVoice;
    int duration = 0;
    bool inBackup = false, backedUp = false, voiceOneStep = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.name();
        if (xml.isStartElement()) {
            if (name == QLatin1String("measure")) {
                voiceOneLength = 0;
                backedUp = false;
            } else if (name == QLatin1String("backup") || name == QLatin1String("forward")) {
                inBackup = true;
                backedUp |= name == QLatin1String("backup");
                voiceOneStep = !backedUp; // a step forward before any backup is the first voice's
            } else if (name == QLatin1String("note"))
                inBackup = voiceOneStep = false;
            else if (name == QLatin1String("accidental"))
                accidentals << xml.readElementText();
            else if (name == QLatin1String("part-name"))
                partName = xml.readElementText();
            else if (name == QLatin1String("per-minute"))
                perMinute = xml.readElementText();
            else if (name == QLatin1String("bar-style"))
                barStyle = xml.readElementText();
            else if (name == QLatin1String("duration") && voiceOneStep)
                voiceOneLength += xml.readElementText().toInt();
            else if (name == QLatin1String("duration") && !inBackup)
                duration = xml.readElementText().toInt();
            else if (name == QLatin1String("voice") && xml.readElementText() == QLatin1String("1"))
                voiceOneLength += duration;
        } else if (xml.isEndElement() && name == QLatin1String("measure")) {
            barLengths.push_back(voiceOneLength);
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(accidentals, (QStringList{"sharp", "natural", "flat"}));
    // 2 quarters + whole: the second bar is filled, after the score's end by a step forward.
    EXPECT_EQ(barLengths, (std::vector<int>{16, 16}));
    EXPECT_EQ(partName, QStringLiteral("Violin"));
    EXPECT_EQ(perMinute, QStringLiteral("222")); // a quarter plays 3 units of 90 ms
    EXPECT_EQ(barStyle, QStringLiteral("light-heavy"));
}

TEST(MusicXml, EmptyScoreIsOneBarOfRestThatMuseScoreOpens)
{
    QTemporaryDir folder;
    EXPECT_TRUE(readBack(Score(), folder.path()).empty());
}

} // namespace
