#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "ExportScores.h"
#include "notivo/score/ScoreExport.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WriteFaults.h"

using testfiles::readAll;
using testfiles::writeFile;

using namespace notivo;

namespace {

TEST(ScoreExport, ExtensionChoosesTheFormatInAnyCase)
{
    const std::vector<std::pair<const char*, std::optional<FileFormat>>> cases = {
        {"a.txt", FileFormat::Score},   {"a.TXT", FileFormat::Score},     {"b.mid", FileFormat::Midi},
        {"b.Midi", FileFormat::Midi},   {"c.wav", FileFormat::Wav},       {"c.flac", FileFormat::Flac},
        {"c.OGG", FileFormat::Ogg},     {"d.musicxml", FileFormat::MusicXml}, {"e.xml", std::nullopt},
        {"noextension", std::nullopt},  {"dir.mid/f", std::nullopt},      {"f.mid.bak", std::nullopt},
    };
    for (const auto& [name, format] : cases)
        EXPECT_EQ(formatOfPath(QString::fromLatin1(name)), format) << name;
    EXPECT_EQ(saveFileFilters().first(), QStringLiteral("Melvar files (*.txt)"));
    EXPECT_EQ(saveFileFilters().size(), 4);
}

TEST(ScoreExport, AFailedExportLeavesTheOldFileAndNoOther)
{
    Score score;
    exportscores::fillSmallScore(score);
    const Score before = score;
    struct Fault {
        const char* name;
        std::function<std::shared_ptr<void>(const QString& folder, bool& bites)> arm;
    } faults[] = {
        {"read-only folder",
         [](const QString& folder, bool& bites) {
             auto guard = std::make_shared<writefaults::ReadOnlyFolder>(folder);
             bites = guard->refusesNewFiles();
             return std::shared_ptr<void>(guard);
         }},
        {"full disk",
         [](const QString& folder, bool& bites) {
             auto guard = std::make_shared<writefaults::FileSizeLimit>(40);
             bites = guard->stopsWriting(folder, QByteArray(41, 'x'));
             return std::shared_ptr<void>(guard);
         }},
    };
    for (const char* name : {"out.mid", "out.musicxml", "out.wav"})
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(name) + ", " + fault.name);
            QTemporaryDir folder;
            const QString path = folder.filePath(QString::fromLatin1(name));
            ASSERT_TRUE(writeFile(path, "old"));
            {
                bool bites = false;
                const std::shared_ptr<void> guard = fault.arm(folder.path(), bites);
                ASSERT_TRUE(bites) << "the fault could not be put in place on this machine";
                const ExportResult result = exportScore(score, path, *formatOfPath(path), {});
                EXPECT_FALSE(result);
                EXPECT_FALSE(result.error.isEmpty());
                EXPECT_FALSE(result.error.contains(QLatin1Char('\n')));
            }
            EXPECT_EQ(readAll(path), QByteArray("old"));
            EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QString::fromLatin1(name)});
            // Once the fault is gone the export goes through.
            EXPECT_TRUE(exportScore(score, path, *formatOfPath(path), {}));
        }
    // Export never changes the score.
    EXPECT_EQ(score.ScoreNotes, before.ScoreNotes);
    EXPECT_EQ(score.ScoreAccidentals, before.ScoreAccidentals);
    EXPECT_EQ(score.ColumnCount, before.ColumnCount);
}

} // namespace
