#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ImportSupport.h"
#include "notivo/score/ReadAnyScore.h"
#include "notivo/score/ScoreFile.h"
#include "tests/support/ExternalReaders.h"
#include "tests/support/MidiBytes.h"
#include "tests/support/TestSupport.h"

using namespace notivo;

namespace {

// A zip archive written by Python's zipfile (not by the library we read
// with): names and contents, stored or deflated.
QByteArray zipOf(const QTemporaryDir& folder, const QStringList& namesAndContents, bool deflated = true)
{
    const QString path = folder.filePath(QStringLiteral("made.zip"));
    const readers::ToolRun run = readers::runTool(
        QStringLiteral("/usr/bin/python3"),
        QStringList{"-c",
                    "import sys, zipfile\n"
                    "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED if sys.argv[2] == '1' else zipfile.ZIP_STORED) as z:\n"
                    "    for name, text in zip(sys.argv[3::2], sys.argv[4::2]): z.writestr(name, text)\n",
                    path, deflated ? "1" : "0"} +
            namesAndContents);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return testfiles::readAll(path);
}

QString container(const QString& rootFile)
{
    return QStringLiteral("<?xml version=\"1.0\"?><container><rootfiles><rootfile full-path=\"%1\" "
                          "media-type=\"application/vnd.recordare.musicxml+xml\"/></rootfiles></container>")
        .arg(rootFile);
}

TEST(ReadAnyScore, TheContentTellsTheTypeBeforeTheName)
{
    const struct {
        QByteArray bytes;
        const char* name;
        ReadableType type;
    } cases[] = {
        {"MThd\0\0\0\6", "tune.txt", ReadableType::Midi},
        {"PK\x03\x04....", "tune.mid", ReadableType::CompressedMusicXml},
        {"\xEF\xBB\xBF\r\n <?xml version=\"1.0\"?>", "tune.mid", ReadableType::MusicXml},
        {"Tone01: 3", "tune.mid", ReadableType::Score},
        {"hello", "tune.MIDI", ReadableType::Midi},
        {"hello", "tune.mxl", ReadableType::CompressedMusicXml},
        {"hello", "tune.xml", ReadableType::MusicXml},
        {"hello", "tune.txt", ReadableType::Score},
        {"", "tune", ReadableType::Score},
    };
    for (const auto& c : cases)
        EXPECT_EQ(typeOfFile(c.bytes, QString::fromLatin1(c.name)), c.type) << c.name << " " << c.bytes.toStdString();
    EXPECT_EQ(openFileFilters().constFirst(), QString::fromLatin1(ScoreFileFilter));
    EXPECT_EQ(openFileFilters().size(), 4);
}

// Every kind of bad file: a message that says what is wrong, and the score as it was.
TEST(ReadAnyScore, BadFilesSayWhatIsWrongAndLeaveTheScore)
{
    QTemporaryDir folder;
    const QString xml = QString::fromUtf8(importsupport::musicXml({importsupport::note("C5", 4, "quarter")}));
    const struct {
        const char* name;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"claims MIDI.mid", "just some text", "does not begin with a MIDI header"},
        {"claims MusicXML.musicxml", "just some text", "not a MusicXML file"},
        {"claims a zip.mxl", "just some text", "no zip archive"},
        {"broken XML.xml", "<score-partwise><part id=\"P1\"><measure>", "XML is broken at line 1"},
        {"other XML.xml", "<html><body/></html>", "no MusicXML score (it begins with <html>)"},
        {"time-wise.musicxml", "<score-timewise version=\"4.0\"/>", "time-wise MusicXML"},
        {"no divisions.musicxml", QByteArray(xml.toUtf8()).replace("<divisions>4<", "<divisions>0<"), "0 divisions"},
        {"broken zip.mxl", "PK\x03\x04 and then nothing of a zip", "no zip archive"},
        {"zip without container.mxl", zipOf(folder, {"score.musicxml", xml}), "no META-INF/container.xml"},
        {"container without score.mxl", zipOf(folder, {"META-INF/container.xml", "<container/>"}), "names no MusicXML score"},
        {"score missing.mxl", zipOf(folder, {"META-INF/container.xml", container("gone.xml")}), "holds no gone.xml"},
        {"damaged zip.mxl", zipOf(folder, {"META-INF/container.xml", container("s.xml"), "s.xml", xml}, false).replace("<score-partwise", "<score-partwisE"),
         "s.xml is damaged"},
        {"division 0.mid", midibytes::header(0, 1, 0), "division of 0"}, // the MIDI reader's own faults: its tests
    };
    Score score;
    score.placeNote(12, 2, NoteId::Half, Accidental::Flat);
    const Score before = score;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.filePath(QString::fromUtf8(c.name));
        ASSERT_TRUE(testfiles::writeFile(path, c.bytes));
        const ScoreReadResult read = readAnyScore(score, path);
        EXPECT_FALSE(read);
        EXPECT_TRUE(read.problem.contains(QLatin1String(c.says))) << read.problem.toStdString();
        EXPECT_EQ(read.message(), QString::fromUtf8(c.name) + " cannot be read: " + read.problem);
        EXPECT_EQ(score.ScoreNotes, before.ScoreNotes);
        EXPECT_EQ(score.ColumnCount, before.ColumnCount);
    }

    // Larger than any score: not read at all (the file is sparse, nothing is written).
    const QString huge = folder.filePath(QStringLiteral("huge.mid"));
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(LargestReadableFile + 1));
    file.close();
    const ScoreReadResult tooLarge = readAnyScore(score, huge);
    EXPECT_EQ(tooLarge.problem, QStringLiteral("it is larger than 50 MB"));
    EXPECT_EQ(score.ScoreNotes, before.ScoreNotes);

    // A faulty score file of our own says what it always said, and keeps what was read before the fault.
    const QString faulty = folder.filePath(QStringLiteral("faulty.txt"));
    ASSERT_TRUE(testfiles::writeFile(faulty, "Tone01: 3x\r\n"));
    const ScoreReadResult notValid = readAnyScore(score, faulty);
    EXPECT_EQ(notValid.message(), QStringLiteral("File not valid"));
    EXPECT_EQ(score.ScoreNotes.cell(1, 1), NoteId::Quarter);
    EXPECT_EQ(notValid.saveAsPath, QString());
}

// Past the last column of the grid: read up to it, and the report says what was cut.
TEST(ReadAnyScore, ALongerFileIsReadUpToTheLastColumn)
{
    QTemporaryDir folder;
    QStringList measures;
    for (int bar = 0; bar < 130; ++bar)
        measures << importsupport::note("C5", 4, "quarter").repeated(4);
    const QString path = folder.filePath(QStringLiteral("long.musicxml"));
    ASSERT_TRUE(testfiles::writeFile(path, importsupport::musicXml(measures)));
    Score score;
    const ScoreReadResult read = readAnyScore(score, path);
    ASSERT_TRUE(read) << read.problem.toStdString();
    EXPECT_EQ(score.ColumnCount, ScoreColumns);
    EXPECT_EQ(score.ScoreNotes.cell(14, ScoreColumns), NoteId::Quarter);
    EXPECT_EQ(read.message(), QStringLiteral("the score stops at column 500; 20 notes after it left out"));
    EXPECT_EQ(read.saveAsPath, folder.filePath(QStringLiteral("long.txt")));
}

} // namespace
