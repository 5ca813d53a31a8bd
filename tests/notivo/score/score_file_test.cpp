#include "notivo/score/ScoreFile.h"
#include "notivo/score/ScoreModel.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testfiles::readAll;
using testfiles::writeFile;

using namespace notivo;

namespace {

QByteArray toneLine(int p, const QByteArray& digits)
{
    return "Tone" + QByteArray::number(p).rightJustified(2, '0') + ": " + digits + "\r\n";
}

// A file whose Tone line p holds lines[p] (missing ones are bare prefixes),
// followed by the empty line and the two accidental lines.
QByteArray fileText(const std::map<int, QByteArray>& lines, const QByteArray& sharps = "",
                    const QByteArray& flats = "")
{
    QByteArray text;
    for (int p = 1; p <= 40; ++p)
        text += toneLine(p, lines.count(p) ? lines.at(p) : QByteArray());
    return text + "\r\nSharps: " + sharps + "\r\nFlats: " + flats + "\r\n";
}

} // namespace

TEST(ScoreFileWriter, EmptyScoreIsBarePrefixes)
{
    Score s;
    s.ScoreAccidentals.set(3, 1, Accidental::Sharp); // beyond ColumnCount: never listed
    EXPECT_EQ(scoreText(s), fileText({}));
    EXPECT_TRUE(scoreText(s).startsWith("Tone01: \r\nTone02: \r\n"));
    EXPECT_TRUE(scoreText(s).endsWith("Tone40: \r\n\r\nSharps: \r\nFlats: \r\n"));
}

TEST(ScoreFileWriter, WritesDigitsAndAccidentalEntriesExactly)
{
    Score s;
    s.ColumnCount = 3;
    s.ScoreNotes.set(12, 1, NoteId::Quarter);
    s.ScoreAccidentals.set(12, 1, Accidental::Sharp);
    s.ScoreNotes.set(RestPosition, 3, NoteId::QuaverPause);
    std::map<int, QByteArray> lines;
    for (int p = 1; p <= 40; ++p)
        lines[p] = "000";
    lines[12] = "300";
    lines[15] = "00B";
    EXPECT_EQ(scoreText(s), fileText(lines, "12,1 "));

    // Entries in position order, then column order, for cells with or without a note.
    s.ScoreAccidentals.set(2, 3, Accidental::Flat);
    s.ScoreAccidentals.set(40, 2, Accidental::Sharp);
    s.ScoreAccidentals.set(12, 3, Accidental::Sharp);
    s.ScoreAccidentals.set(7, 2, 3); // not an accidental: not listed
    const QByteArray text = scoreText(s);
    EXPECT_TRUE(text.endsWith("\r\n\r\nSharps: 12,1 12,3 40,2 \r\nFlats: 2,3 \r\n")) << text.right(60).toStdString();
}

TEST(ScoreFileRoundTrip, RandomScoresSurviveSaveAndLoad)
{
    QRandomGenerator rng(1234);
    const std::uint8_t ids[] = {0, 0, 0, 1, 2, 3, 4, 5, 10, 11};
    for (int round = 0; round < 20; ++round) {
        Score s;
        s.ColumnCount = 1 + int(rng.bounded(500));
        for (int c = 1; c <= s.ColumnCount; ++c)
            for (int p = 1; p <= 40; ++p) {
                s.ScoreNotes.set(p, c, ids[rng.bounded(10)]);
                s.ScoreAccidentals.set(p, c, std::uint8_t(rng.bounded(3)));
            }
        s.ScoreNotes.set(int(1 + rng.bounded(40)), s.ColumnCount, NoteId::Half); // last column in use
        Score loaded;
        ASSERT_TRUE(readScore(loaded, scoreText(s))) << round;
        EXPECT_EQ(loaded.ColumnCount, s.ColumnCount);
        EXPECT_EQ(loaded.ScoreNotes, s.ScoreNotes);
        EXPECT_EQ(loaded.ScoreAccidentals, s.ScoreAccidentals);
        EXPECT_EQ(scoreText(loaded), scoreText(s));
    }
}

TEST(ScoreFileRoundTrip, TrailingColumnsShrinkButRestsCount)
{
    struct Case {
        std::uint8_t lastId;
        int lastColumn;
        int expectedCount;
    } cases[] = {{NoteId::QuarterPause, 9, 9}, {NoteId::QuaverPause, 9, 9}, {NoteId::Quarter, 6, 6}};
    for (const Case& c : cases) {
        Score s;
        s.ColumnCount = 9;
        s.ScoreNotes.set(RestPosition, c.lastColumn, c.lastId);
        s.ScoreNotes.set(20, 2, NoteId::Half);
        s.ScoreAccidentals.set(3, 8, Accidental::Flat); // an accidental alone does not keep a column
        Score loaded;
        ASSERT_TRUE(readScore(loaded, scoreText(s)));
        EXPECT_EQ(loaded.ColumnCount, c.expectedCount);
        EXPECT_EQ(loaded.ScoreNotes, s.ScoreNotes);
        EXPECT_EQ(loaded.ScoreAccidentals.get(3, 8), Accidental::Flat);
    }
}

TEST(ScoreFileReader, ReadingRules)
{
    struct Case {
        const char* name;
        QByteArray text;
        bool valid;
        int columnCount;
        std::vector<std::tuple<int, int, int>> notes;       // (p, c, id) expected
        std::vector<std::tuple<int, int, int>> accidentals; // (p, c, code) expected
    };
    QByteArray longLine(501, '1');
    QByteArray longestLine(500, '0');
    longestLine[499] = '2';
    const Case cases[] = {
        {"lower-case digits", fileText({{3, "0a0b"}, {4, "fF"}}), true, 4, {{3, 2, 10}, {3, 4, 11}, {4, 1, 15}, {4, 2, 15}}, {}},
        {"short lines give zeros", fileText({{1, "3"}, {2, "00004"}}), true, 5, {{1, 1, 3}, {2, 5, 4}, {1, 5, 0}}, {}},
        {"Tone prefix is not read", QByteArray("xxxxxxxx5\r\nTone99: 06\r\n"), true, 2, {{1, 1, 5}, {2, 2, 6}}, {}},
        {"a line over 500 digits is skipped whole", fileText({{2, longLine}, {3, longestLine}}), true, 500,
         {{2, 1, 0}, {3, 500, 2}}, {}},
        {"lines after 40 are not digits", fileText({{1, "1"}}) + "Tone41: 5555\r\n", true, 1, {{1, 1, 1}}, {}},
        {"sharps and flats", fileText({{1, "1"}}, "3,1 40,500 ", "12,2 1,1 "), true, 1, {},
         {{3, 1, 1}, {40, 500, 1}, {12, 2, 2}, {1, 1, 2}}},
        {"plain LF line ends", fileText({{1, "02"}, {2, "3"}}, "1,2 ", "2,1 ").replace("\r\n", "\n"), true, 2,
         {{1, 2, 2}, {2, 1, 3}}, {{1, 2, 1}, {2, 1, 2}}},
        {"no final line end", QByteArray("Tone01: 02\r\nTone02: 3"), true, 2, {{2, 1, 3}}, {}},
        {"CR alone ends a line", QByteArray("Tone01: 02\rTone02: 3\r\r\n"), true, 2, {{1, 2, 2}, {2, 1, 3}}, {}},
        {"lower-case prefixes are not accidental lines", fileText({{1, "1"}}) + "sharps: 4,4 \r\nflats: 5,5 \r\n",
         true, 1, {}, {{4, 4, 0}, {5, 5, 0}}},
        {"no blank after the colon: the entry is the skipped piece", fileText({{1, "1"}}) + "Sharps:4,4\r\n", true,
         1, {}, {{4, 4, 0}}},
        {"empty file", QByteArray(), true, 0, {}, {}},
        {"blank among digits", fileText({{1, "31"}, {2, "12 4"}, {3, "5"}}), false, 2,
         {{1, 1, 3}, {1, 2, 1}, {2, 1, 1}, {2, 2, 2}, {2, 4, 0}, {3, 1, 0}}, {}},
        {"letter beyond F", fileText({{1, "0G"}}), false, 0, {}, {}},
        {"Sharps line inside the first 40 lines", QByteArray("Tone01: 1\r\nSharps: 2,2 \r\n"), false, 1,
         {{1, 1, 1}}, {{2, 2, 1}}},
        {"column beyond 500 after the digits", fileText({{1, "1"}, {40, "0007"}}, "3,600 "), false, 4, {{40, 4, 7}}, {}},
        {"position beyond 40 in Flats", fileText({{1, "1"}}, "", "41,1 "), false, 1, {}, {}},
        {"entry without comma", fileText({{1, "1"}}, "7 "), false, 1, {}, {}},
        {"entry that is not a number", fileText({{1, "1"}}, "x,1 "), false, 1, {}, {}},
        {"faulty entries before any digit are skipped", fileText({}, "3,600 2,5 junk 0,1 ", "4,4 "), true, 0, {},
         {{2, 5, 1}, {4, 4, 2}}},
        {"a Sharps line on line 1 is read as digits too", QByteArray("Sharps: 2,5 \r\n"), false, 1, {{1, 1, 2}},
         {{2, 5, 1}}},
        {"accidentals of an empty score", fileText({}, "2,5 9,9,9 "), true, 0, {}, {{2, 5, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Score s;
        s.ScoreNotes.set(30, 300, 4); // replaced by the load
        s.ColumnCount = 300;
        const ScoreLoadResult result = readScore(s, c.text);
        EXPECT_EQ(result.valid, c.valid) << result.reason.toStdString();
        EXPECT_EQ(result.reason.isEmpty(), c.valid);
        EXPECT_EQ(s.ColumnCount, c.columnCount);
        EXPECT_EQ(s.ScoreNotes.get(30, 300), 0);
        for (auto [p, col, id] : c.notes)
            EXPECT_EQ(s.ScoreNotes.get(p, col), id) << p << "," << col;
        for (auto [p, col, code] : c.accidentals)
            EXPECT_EQ(s.ScoreAccidentals.get(p, col), code) << p << "," << col;
    }
}

TEST(ScoreFileReader, InvalidFileKeepsEverythingReadBeforeTheFault)
{
    // A normally written file with a sharp at column 600: every Tone line is loaded first.
    Score original;
    original.ColumnCount = 12;
    for (int p = 1; p <= 40; ++p)
        original.ScoreNotes.set(p, 1 + p % 12, NoteId::Quaver);
    QByteArray text = scoreText(original);
    text.replace("Sharps: ", "Sharps: 3,600 ");
    Score s;
    EXPECT_FALSE(readScore(s, text));
    EXPECT_EQ(s.ScoreNotes, original.ScoreNotes);
    EXPECT_EQ(s.ColumnCount, 12);
}

TEST(ScoreFileDisk, SaveWritesTheExactTextAndReplacesTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("song.txt");
    ASSERT_TRUE(writeFile(path, "an older, longer file that must be replaced completely\r\n"));
    Score s;
    s.ColumnCount = 2;
    s.ScoreNotes.set(17, 2, NoteId::Whole);
    s.ScoreAccidentals.set(17, 2, Accidental::Flat);
    const ScoreSaveResult saved = saveScoreFile(s, path);
    ASSERT_TRUE(saved) << saved.error.toStdString();
    EXPECT_EQ(readAll(path), scoreText(s));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"song.txt"}); // no temporary left behind

    Score loaded;
    ASSERT_TRUE(loadScoreFile(loaded, path));
    EXPECT_EQ(loaded.ScoreNotes, s.ScoreNotes);
    EXPECT_EQ(loaded.ScoreAccidentals, s.ScoreAccidentals);
    EXPECT_EQ(loaded.ColumnCount, 2);
}

TEST(ScoreFileDisk, FailedSaveLeavesTheOldFileIdentical)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The longest name a folder allows: no temporary name beside it can be created.
    const QString path = dir.filePath(QString(251, QLatin1Char('n')) + ".txt");
    const QByteArray old = "Tone01: 3\r\n";
    ASSERT_TRUE(writeFile(path, old));
    Score s;
    s.ColumnCount = 1;
    const ScoreSaveResult result = saveScoreFile(s, path);
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(readAll(path), old);

    const ScoreSaveResult missingFolder = saveScoreFile(s, dir.filePath("no/such/folder/song.txt"));
    EXPECT_FALSE(missingFolder);
    // The reason alone: the message that shows it names the path itself.
    EXPECT_FALSE(missingFolder.error.isEmpty());
    EXPECT_FALSE(missingFolder.error.contains("no/such/folder")) << missingFolder.error.toStdString();
}

TEST(ScoreFileDisk, UnreadableFileIsNotValidAndLeavesTheScore)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Score s;
    s.placeNote(20, 4, NoteId::Half, Accidental::Sharp);
    const Score before = s;
    for (const QString& path : {dir.filePath("missing.txt"), dir.path()}) {
        const ScoreLoadResult result = loadScoreFile(s, path);
        EXPECT_FALSE(result) << path.toStdString();
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_EQ(s.ScoreNotes, before.ScoreNotes);
        EXPECT_EQ(s.ColumnCount, before.ColumnCount);
    }
    EXPECT_STREQ(FileNotValidMessage, "File not valid");
}
