#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

#include "ExportScores.h"
#include "notivo/score/ScoreExport.h"
#include "tests/support/ExternalReaders.h"

using namespace notivo;

namespace {

struct Expected {
    double ms;
    const char* type;
    int channel, data1, data2;
};

// The small score at tempo 110 (90 ms a unit), worked out by hand from the
// rules of a run: the whole note sounds five passes and is struck again on
// the fourth (the quarter note below it ended), the quarter rest lasts four
// units, the quaver rest two.
const std::vector<Expected> PianoRun = {
    {0, "control_change", 0, 0, 0}, {0, "control_change", 0, 32, 0}, {0, "program_change", 0, 40, 0},
    {0, "note_on", 0, 79, 127},     {0, "note_on", 0, 62, 127},
    {270, "note_off", 0, 62, 0},    {270, "note_on", 0, 79, 127},    {450, "note_off", 0, 79, 0},
    {810, "note_on", 0, 77, 127},   {1080, "note_off", 0, 77, 0},    // E#5 after the rest
    {1080, "note_on", 0, 66, 127},  {1260, "note_off", 0, 66, 0},    // Gb4, two units
    {1440, "note_on", 0, 60, 127},  {1800, "note_off", 0, 60, 0},    // C4 after the quaver rest
};

void expectEvents(const readers::MidoFile& file, const std::vector<Expected>& expected)
{
    ASSERT_TRUE(file.read) << file.problem.toStdString();
    ASSERT_EQ(file.events.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const readers::MidoEvent& e = file.events[i];
        EXPECT_NEAR(e.seconds * 1000, expected[i].ms, 1.0);
        EXPECT_EQ(e.type, QLatin1String(expected[i].type));
        EXPECT_EQ(e.channel, expected[i].channel);
        EXPECT_EQ(e.data1, expected[i].data1);
        EXPECT_EQ(e.data2, expected[i].data2);
    }
}

TEST(MidiExport, MidoReadsWhatPlaySendsWithTheInstrumentChosen)
{
    Score score;
    exportscores::fillSmallScore(score);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("small.mid"));
    ASSERT_TRUE(exportScore(score, path, FileFormat::Midi, {110, 40}));
    const readers::MidoFile file = readers::readWithMido(path);
    expectEvents(file, PianoRun);
    EXPECT_EQ(file.type, 0);
    EXPECT_EQ(file.trackName, QStringLiteral("Violin"));
}

TEST(MidiExport, DrumEntrySoundsItsKeyOnChannelTenWithoutAProgram)
{
    Score score;
    exportscores::fillSmallScore(score);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("drum.midi"));
    ASSERT_TRUE(exportScore(score, path, FileFormat::Midi, {110, 128}));
    std::vector<Expected> drums;
    for (const Expected& e : PianoRun)
        if (QLatin1String(e.type).startsWith(QLatin1String("note")))
            drums.push_back({e.ms, e.type, 9, 35, e.data2});
    const readers::MidoFile file = readers::readWithMido(path);
    expectEvents(file, drums);
    EXPECT_EQ(file.trackName, QStringLiteral("Acoustic Bass Drum"));
}

TEST(MidiExport, TempoSetsTheUnitAndAnEmptyScoreGivesAnEmptyTrack)
{
    Score score;
    score.placeNote(21, 1, NoteId::Semiquaver, 0);
    score.placeNote(21, 2, NoteId::Semiquaver, 0);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("fast.mid"));
    ASSERT_TRUE(exportScore(score, path, FileFormat::Midi, {180, 0}));
    // 20 ms a unit: the second semiquaver starts 20 ms after the first.
    const std::vector<Expected> fast = {
        {0, "control_change", 0, 0, 0}, {0, "control_change", 0, 32, 0}, {0, "program_change", 0, 0, 0},
        {0, "note_on", 0, 60, 127},     {20, "note_off", 0, 60, 0},      {20, "note_on", 0, 60, 127},
        {40, "note_off", 0, 60, 0},
    };
    expectEvents(readers::readWithMido(path), fast);

    const QString empty = folder.filePath(QStringLiteral("empty.mid"));
    ASSERT_TRUE(exportScore(Score(), empty, FileFormat::Midi, {}));
    const readers::MidoFile emptyFile = readers::readWithMido(empty);
    ASSERT_TRUE(emptyFile.read) << emptyFile.problem.toStdString();
    EXPECT_EQ(emptyFile.events.size(), 3u); // only the choice of the instrument
}

} // namespace
