// A save that fails must leave the score file that was there before exactly
// as it was: when the folder takes no new file, and when the write breaks off
// part-way.  The faults are real (a read-only folder, a file-size limit).
#include "notivo/score/ScoreFile.h"
#include "notivo/score/ScoreModel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "tests/support/TestSupport.h"
#include "tests/support/WriteFaults.h"

using testfiles::readAll;

using namespace notivo;

namespace {

// `columns` columns in use, two notes each, with sharps and flats all over.
// All 500 make about 20 KB of text, more than a file buffer holds; a short
// score fits in the buffer and reaches the disk only when the file is closed.
Score scoreOf(int columns)
{
    Score s;
    for (int c = 1; c <= columns; ++c) {
        const int position = 1 + (c * 7) % 30;
        s.placeNote(position, c, std::uint8_t(1 + c % 5), std::uint8_t(c % 3));
        s.placeNote(1 + (position + 9) % 30, c, std::uint8_t(1 + (c + 2) % 5), std::uint8_t((c + 1) % 3));
    }
    return s;
}

struct Fault {
    const char* name;
    // Puts the fault in place for the folder and the text about to be saved;
    // returns a guard (the fault lasts while it lives) and whether it bites.
    std::function<std::shared_ptr<void>(const QString& folder, const QByteArray& text, bool& bites)> arm;
};

const Fault Faults[] = {
    {"read-only folder",
     [](const QString& folder, const QByteArray&, bool& bites) {
         auto guard = std::make_shared<writefaults::ReadOnlyFolder>(folder);
         bites = guard->refusesNewFiles();
         return std::shared_ptr<void>(guard);
     }},
    {"write broken off half-way",
     [](const QString& folder, const QByteArray& text, bool& bites) {
         auto guard = std::make_shared<writefaults::FileSizeLimit>(rlim_t(text.size() / 2));
         bites = guard->stopsWriting(folder, text);
         return std::shared_ptr<void>(guard);
     }},
};

TEST(ScoreFileLostData, AFailedSaveLeavesThePreviousFileByteIdentical)
{
    for (const int columns : {ScoreColumns, 40})
    for (const Fault& fault : Faults) {
        SCOPED_TRACE(fault.name + std::string(", columns ") + std::to_string(columns));
        const Score score = scoreOf(columns);
        const QByteArray newText = scoreText(score);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath("song.txt");
        Score previous;
        previous.placeNote(21, 1, NoteId::Quarter, Accidental::Sharp);
        previous.placeRest(2, NoteId::QuaverPause);
        ASSERT_TRUE(saveScoreFile(previous, path));
        const QByteArray old = readAll(path);

        {
            bool bites = false;
            const std::shared_ptr<void> guard = fault.arm(dir.path(), newText, bites);
            ASSERT_TRUE(bites) << "the fault could not be put in place on this machine";
            const ScoreSaveResult result = saveScoreFile(score, path);
            EXPECT_FALSE(result);
            EXPECT_FALSE(result.error.isEmpty());
            EXPECT_FALSE(result.error.contains(path)) << result.error.toStdString();
        }

        EXPECT_EQ(readAll(path), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"song.txt"})
            << "no half-written temporary may stay behind";
        Score reloaded;
        ASSERT_TRUE(loadScoreFile(reloaded, path));
        EXPECT_EQ(reloaded.ScoreNotes, previous.ScoreNotes);

        // Once the fault is gone the same save goes through whole.
        ASSERT_TRUE(saveScoreFile(score, path));
        EXPECT_EQ(readAll(path), newText);
    }
}

} // namespace
