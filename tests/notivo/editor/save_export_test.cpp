#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include "notivo/editor/EditorWindows.h"
#include "notivo/editor/ExportProgress.h"
#include "notivo/editor/frmEditor.h"
#include "notivo/score/ScoreModel.h"
#include "platform/chrome/MessageBox.h"
#include "tests/support/RecorderMidi.h"
#include "tests/support/ExternalReaders.h"
#include "tests/support/TestSupport.h"

using testfiles::writeFile;

using notivo::frmEditor;
using notivo::Score;

namespace {

QStringList& shownMessages()
{
    static QStringList messages;
    return messages;
}

class SaveExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shownMessages().clear();
        platform::setMessageSink([](const QString& text) { shownMessages() << text; });
        notivo::EditorServices services;
        services.endProgram = [] {};
        services.chooseSaveFile = [this](QWidget*, const QString&) { return savePath; };
        services.midi = &recorder;
        editor = std::make_unique<frmEditor>(score, std::move(services));
        ASSERT_TRUE(editor->Form_Load());
    }
    void TearDown() override
    {
        editor.reset();
        platform::setMessageSink(nullptr);
    }

    platform::midi::RecorderMidiService recorder{1};
    Score score;
    std::unique_ptr<frmEditor> editor;
    QTemporaryDir folder;
    QString savePath; // what the save dialog answers
};

// Works the real save dialog: picks file type `typeIndex`, types `name`, saves.
QString saveThroughDialog(const QString& folder, int typeIndex, const QString& name, QStringList* types = nullptr)
{
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        if (types && combo)
            for (int i = 0; i < combo->count(); ++i)
                *types << combo->itemText(i);
        if (combo) {
            combo->setCurrentIndex(typeIndex);
            // As a click on the entry does.
            emit combo->activated(typeIndex);
            emit combo->textActivated(combo->itemText(typeIndex));
        }
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept"); // as the Save button does
    });
    return notivo::chooseScoreFileToSave(nullptr, folder);
}

TEST_F(SaveExportTest, SaveDialogOffersTheExportTypesAndATypedExtensionWins)
{
    QStringList types;
    const QDir dir(folder.path());
    EXPECT_EQ(saveThroughDialog(folder.path(), 0, "song", &types), dir.filePath("song.txt"));
    EXPECT_EQ(types, (QStringList{"Melvar files", "MIDI files", "Audio files", "MusicXML files"}));
    EXPECT_EQ(saveThroughDialog(folder.path(), 1, "tune").toStdString(), dir.filePath("tune.mid").toStdString());
    EXPECT_EQ(saveThroughDialog(folder.path(), 2, "tune"), dir.filePath("tune.wav"));
    EXPECT_EQ(saveThroughDialog(folder.path(), 3, "tune"), dir.filePath("tune.musicxml"));
    EXPECT_EQ(saveThroughDialog(folder.path(), 0, "tune.mid"), dir.filePath("tune.mid"));
    EXPECT_EQ(saveThroughDialog(folder.path(), 2, "tune.musicxml"), dir.filePath("tune.musicxml"));
}

TEST_F(SaveExportTest, ExportsSoundAsTheTempoBarAndInstrumentSayAndLeaveTheScore)
{
    score.placeNote(21, 1, notivo::NoteId::Semiquaver, 0);
    score.placeNote(19, 2, notivo::NoteId::Semiquaver, 0);
    const Score before = score;
    editor->HScroll2->setValue(180); // 20 ms a unit
    {
        const QSignalBlocker quiet(editor->Combo1);
        editor->Combo1->setCurrentIndex(40);
    }
    const QString midi = folder.filePath("tune.MID");
    const QString xml = folder.filePath("tune.musicxml");
    for (const QString& path : {midi, xml}) {
        savePath = path;
        editor->mnuSaveItm->trigger();
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    }
    const readers::MidoFile file = readers::readWithMido(midi);
    ASSERT_TRUE(file.read) << file.problem.toStdString();
    ASSERT_EQ(file.events.size(), 7u);
    EXPECT_EQ(file.events[2].type, QStringLiteral("program_change"));
    EXPECT_EQ(file.events[2].data1, 40);
    EXPECT_EQ(file.events[5].data1, 64); // the second note, E4 ...
    EXPECT_NEAR(file.events[5].seconds, 0.020, 0.001); // ... one unit later
    QFile written(xml);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("<part-name>Violin</part-name>"));
    EXPECT_EQ(score.ScoreNotes, before.ScoreNotes);
    EXPECT_EQ(score.ColumnCount, before.ColumnCount);
    EXPECT_TRUE(shownMessages().isEmpty());
}

TEST_F(SaveExportTest, ShortRenderWritesTheFileWithoutAProgressBar)
{
    score.placeNote(21, 1, notivo::NoteId::Quarter, 0);
    const QString path = folder.filePath("tune.wav");
    savePath = path;
    editor->mnuSaveItm->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 10000);
    EXPECT_TRUE(editor->findChildren<notivo::ExportProgress*>().isEmpty() ||
                !editor->findChild<notivo::ExportProgress*>()->isVisible());
    EXPECT_EQ(readers::soxInfo(path, "-r"), QStringLiteral("44100"));
    EXPECT_TRUE(shownMessages().isEmpty());
}

TEST_F(SaveExportTest, LongRenderShowsProgressAndCancelLeavesTheOldFile)
{
    for (int column = 1; column <= notivo::ScoreColumns; ++column)
        score.placeNote(10 + column % 12, column, notivo::NoteId::Whole, 0);
    editor->HScroll2->setValue(0); // 500 whole notes of a second each: minutes of audio
    const QString path = folder.filePath("long.flac");
    ASSERT_TRUE(writeFile(path, "old"));
    savePath = path;
    editor->mnuSaveItm->trigger();
    auto* progress = editor->findChild<notivo::ExportProgress*>();
    ASSERT_NE(progress, nullptr);
    EXPECT_FALSE(progress->isVisible()); // not before half a second
    QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible(), 5000);
    EXPECT_TRUE(progress->isModal());
    auto* cancel = progress->findChild<QPushButton*>(QStringLiteral("Cancel"));
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    QTRY_VERIFY_WITH_TIMEOUT(editor->findChildren<notivo::ExportProgress*>().isEmpty(), 5000);
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"long.flac"});
    EXPECT_TRUE(shownMessages().isEmpty());
}

TEST_F(SaveExportTest, FailedExportSaysWhy)
{
    score.placeNote(21, 1, notivo::NoteId::Quarter, 0);
    const QString path = folder.filePath("missing/tune.mid");
    savePath = path;
    editor->mnuSaveItm->trigger();
    ASSERT_EQ(shownMessages().size(), 1);
    EXPECT_TRUE(shownMessages().first().startsWith("The score could not be saved to")) << shownMessages().first().toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
