#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "notivo/score/AudioExport.h"
#include "notivo/score/ScoreExport.h"
#include "notivo/score/ScoreModel.h"
#include "tests/support/ExternalReaders.h"
#include "tests/support/TestSupport.h"

using testfiles::writeFile;

using namespace notivo;

namespace {

// Three quarter notes with a quarter rest between them, at tempo 0 (200 ms a
// unit): each note sounds 600 ms and each rest lasts 800 ms.
Score notesAndRests()
{
    Score score;
    score.placeNote(21, 1, NoteId::Quarter, 0);
    score.placeRest(2, NoteId::QuarterPause);
    score.placeNote(17, 3, NoteId::Quarter, 0);
    score.placeRest(4, NoteId::QuarterPause);
    score.placeNote(12, 5, NoteId::Quarter, Accidental::Sharp);
    return score;
}

TEST(AudioExport, WavSoundsAtEachOnsetAndIsSilentInTheRests)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("tune.wav"));
    ASSERT_TRUE(exportScore(notesAndRests(), path, FileFormat::Wav, {0, 0}));
    EXPECT_EQ(readers::soxInfo(path, "-r"), QStringLiteral("44100"));
    EXPECT_EQ(readers::soxInfo(path, "-c"), QStringLiteral("2"));
    // The last note ends at 3.4 s; its release tail is kept, at most 2 s of it.
    const double seconds = readers::soxInfo(path, "-D").toDouble();
    EXPECT_GT(seconds, 3.5);
    EXPECT_LE(seconds, 5.41);
    for (double onset : {0.0, 1.4, 2.8}) {
        const readers::AudioLevel level = readers::soxLevel(path, onset, 0.1);
        ASSERT_TRUE(level.measured);
        EXPECT_GT(level.rms, 0.005) << "no note at " << onset << " s";
    }
    // The second half of each rest, once the release has faded.
    for (double rest : {1.0, 2.4}) {
        const readers::AudioLevel level = readers::soxLevel(path, rest, 0.4);
        ASSERT_TRUE(level.measured);
        EXPECT_LT(level.peak, 0.002) << "sound in the rest at " << rest << " s";
    }
}

TEST(AudioExport, FlacAndOggWhereTheLibraryWritesThemAndEmptyScoresToo)
{
    QTemporaryDir folder;
    struct Case {
        FileFormat format;
        const char* name;
        const char* soxType;
        bool empty;
    } cases[] = {{FileFormat::Flac, "tune.flac", "flac", false}, {FileFormat::Ogg, "tune.ogg", "vorbis", false},
                 {FileFormat::Wav, "empty.wav", "wav", true},    {FileFormat::Flac, "empty.flac", "flac", true},
                 {FileFormat::Ogg, "empty.ogg", "vorbis", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.filePath(QString::fromLatin1(c.name));
        const ExportResult result = exportScore(c.empty ? Score() : notesAndRests(), path, c.format, {0, 0});
        if (!AudioExport::canWrite(c.format)) {
            EXPECT_FALSE(result);
            EXPECT_FALSE(QFile::exists(path));
            continue;
        }
        ASSERT_TRUE(result) << result.error.toStdString();
        EXPECT_EQ(readers::soxInfo(path, "-t"), QLatin1String(c.soxType));
        if (c.empty) // a moment of silence, no longer than one block of the renderer
            EXPECT_LE(readers::soxInfo(path, "-D").toDouble(), 0.01);
        else
            EXPECT_GT(readers::soxLevel(path, 1.4, 0.1).rms, 0.005);
    }
}

TEST(AudioExport, CancellingLeavesNoFileAndTheOldOneUntouched)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kept.wav"));
    ASSERT_TRUE(writeFile(path, "the old file"));
    {
        AudioExport render(notesAndRests(), path, FileFormat::Wav, {0, 0});
        ASSERT_TRUE(render.ok());
        ASSERT_TRUE(render.step()); // a slice of the 5 s, then the user cancels
        EXPECT_GT(render.progress(), 0.0);
        EXPECT_LT(render.progress(), 1.0);
    }
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("the old file"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.wav")});
}

TEST(AudioExport, MissingSoundFontSaysSoAndWritesNothing)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("tune.wav"));
    AudioExport render(notesAndRests(), path, FileFormat::Wav, {0, 0}, folder.filePath(QStringLiteral("none.sf2")));
    EXPECT_FALSE(render.ok());
    EXPECT_FALSE(render.step());
    const ExportResult result = render.finish();
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.error.contains(QStringLiteral("SoundFont"))) << result.error.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
