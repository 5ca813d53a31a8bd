#include <gtest/gtest.h>

#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "ExportScores.h"
#include "ImportSupport.h"
#include "notivo/score/MusicXmlReader.h"
#include "notivo/score/MusicXmlWriter.h"
#include "notivo/score/ScoreFile.h"
#include "tests/support/TestSupport.h"

using namespace notivo;

namespace {

// The score as its MusicXML holds it: the notes of the played positions with
// their sharps and flats, and a rest only in a column without notes (moved
// to its own position); ids the grid has no value for, like empty cells.
Score asWritten(const Score& score)
{
    Score written;
    written.ColumnCount = score.ColumnCount;
    for (int c = 1; c <= score.ColumnCount; ++c) {
        int rest = 0;
        bool notes = false;
        for (int p = 1; p <= PlayedPositions; ++p) {
            const int id = score.ScoreNotes.cell(p, c);
            const int accidental = score.ScoreAccidentals.cell(p, c);
            if (id >= NoteId::Semiquaver && id <= NoteId::Whole) {
                written.ScoreNotes.cell(p, c) = std::uint8_t(id);
                written.ScoreAccidentals.cell(p, c) = accidental <= Accidental::Flat ? std::uint8_t(accidental) : 0;
                notes = true;
            } else if (isRestId(id) && (rest == 0 || p == RestPosition)) {
                rest = id;
            }
        }
        if (!notes)
            written.ScoreNotes.cell(RestPosition, c) = std::uint8_t(rest);
    }
    return written;
}

// Exported and imported again; a failure names the score.
void expectRoundTrip(const Score& score, const std::string& name)
{
    Score read;
    read.placeNote(3, 7, NoteId::Half, Accidental::Sharp); // replaced whole
    const ImportResult result = readMusicXml(musicXml(score, 110, QStringLiteral("Piano")), read);
    ASSERT_TRUE(result) << name << ": " << result.problem.toStdString();
    const Score expected = asWritten(score);
    EXPECT_EQ(importsupport::shownColumns(read), importsupport::shownColumns(expected)) << name;
    EXPECT_EQ(read.ScoreNotes, expected.ScoreNotes) << name;
    EXPECT_EQ(read.ScoreAccidentals, expected.ScoreAccidentals) << name;
    EXPECT_EQ(read.ColumnCount, expected.ColumnCount) << name;
    EXPECT_EQ(result.report.toStdString(), "") << name;
}

// Any score editing or a score file can make: chords of any ids on any
// positions with any accidentals, rests anywhere, empty columns.
Score randomScore(std::mt19937& random, int columns)
{
    auto pick = [&random](int first, int last) { return std::uniform_int_distribution<int>(first, last)(random); };
    Score score;
    score.ColumnCount = columns;
    for (int c = 1; c <= columns; ++c) {
        const int kind = pick(0, 9);
        if (kind < 2)
            continue; // an empty column
        if (kind < 4) {
            score.ScoreNotes.cell(pick(0, 3) ? RestPosition : pick(1, ScorePositions), c) = std::uint8_t(pick(10, 11));
            if (kind == 2)
                continue;
        }
        for (int n = pick(1, 6); n > 0; --n) {
            const int p = pick(1, ScorePositions);
            score.ScoreNotes.cell(p, c) = std::uint8_t(pick(0, 9) ? pick(1, 5) : pick(0, 15));
            score.ScoreAccidentals.cell(p, c) = std::uint8_t(pick(0, 3));
        }
    }
    return score;
}

std::uint32_t seed()
{
    const char* given = std::getenv("IMPORT_SEED");
    const std::uint32_t value = given ? std::uint32_t(std::strtoul(given, nullptr, 10)) : std::random_device{}();
    std::printf("import round trips: seed %u (repeat with IMPORT_SEED=%u)\n", value, value);
    return value;
}

TEST(MusicXmlRoundTrip, GeneratedScoresComeBackAsTheyWereWritten)
{
    const std::uint32_t first = seed();
    std::mt19937 random(first);
    for (int i = 0; i < 300; ++i) {
        const int columns = i % 50 == 0 ? ScoreColumns : std::uniform_int_distribution<int>(0, 80)(random);
        expectRoundTrip(randomScore(random, columns), "score " + std::to_string(i) + " of seed " + std::to_string(first));
        if (HasFailure())
            return;
    }
}

TEST(MusicXmlRoundTrip, TheScoresOfTheFuzzCorpusAndTheExportTestsComeBack)
{
    const QDir corpus(sourceDir() + QStringLiteral("/fuzz/corpus/fuzz_notivo_score"));
    const QStringList files = corpus.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        Score score;
        readScore(score, testfiles::readAll(corpus.filePath(file))); // what a faulty file left is a score too
        expectRoundTrip(score, file.toStdString());
    }
    Score small;
    exportscores::fillSmallScore(small);
    expectRoundTrip(small, "the small score of the export tests");
}

} // namespace
