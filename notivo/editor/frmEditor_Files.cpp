#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QDir>
#include <QFileInfo>

#include "notivo/editor/ExportProgress.h"
#include "notivo/score/AudioExport.h"
#include "notivo/score/ReadAnyScore.h"
#include "notivo/score/ScoreExport.h"
#include "notivo/score/ScoreFile.h"
#include "notivo/editor/frmEditor.h"
#include "platform/chrome/BusyPointer.h"
#include "platform/chrome/MessageBox.h"
#include "platform/chrome/ProgramFolder.h"

// File Open and File Save as: the dialogs, the busy pointer and the messages;
// the file text itself is the score file's business, and the files for other
// programs the exporters'.
namespace notivo {
using platform::BusyPointer;

// Scores are kept beside the program; an installed program's folder is the
// system's (and not writable), so the dialogs then start in the user's home.
QString frmEditor::fileDialogFolder() const
{
    const QString folder = platform::programFolder();
    const QFileInfo info(folder);
    if (!platform::runsInstalled() && info.isDir() && info.isWritable())
        return folder;
    return QDir::homePath();
}

void frmEditor::mnuSaveItm_Click()
{
    // After a file of another program, its name as a score, so it is never overwritten.
    const QString path = services_.chooseSaveFile(this, saveAsPath_.isEmpty() ? fileDialogFolder() : saveAsPath_);
    if (path.isEmpty())
        return;
    // The extension decides: a score of our own, or a file for other programs.
    const FileFormat format = formatOfPath(path).value_or(FileFormat::Score);
    auto reportFailure = [this, path](const QString& reason) {
        platform::showMessage(this, QStringLiteral("The score could not be saved to\r\n%1\r\n%2")
                                        .arg(QDir::toNativeSeparators(path), reason));
    };
    // Exports sound as Play does now: the tempo bar and the instrument chosen.
    const ExportSettings settings{HScroll2->value(), std::max(Combo1->currentIndex(), 0)};
    if (isAudioFormat(format)) {
        // Rendering takes a while: it runs in slices with a progress bar, and
        // the score is copied now, so edits meanwhile do not reach the file.
        auto render = std::make_unique<AudioExport>(score, path, format, settings);
        new ExportProgress(this, std::move(render), QFileInfo(path).fileName(), [reportFailure](const ExportResult& result) {
            if (!result)
                reportFailure(result.error);
        });
        return;
    }
    BusyPointer busy;
    const ExportResult result = exportScore(score, path, format, settings);
    busy.release();
    if (!result)
        reportFailure(result.error);
}

void frmEditor::mnuOpenItm_Click()
{
    const QString path = services_.chooseOpenFile(this, fileDialogFolder());
    if (!path.isEmpty())
        openScoreFile(path);
}

void frmEditor::openScoreFile(const QString& path)
{
    BusyPointer busy;
    // One step, also for a file that was not valid: whatever it replaced can be had back.
    ScoreChange change(History, score, ScoreChange::Join::Separate);
    const ScoreReadResult result = readAnyScore(score, path);
    change.done();
    saveAsPath_ = result.saveAsPath;
    if (!result) {
        // Said before the staff shows what was read; the box keeps the normal pointer.
        busy.release();
        platform::showMessage(this, result.message());
    }
    DisplayPentagramNotes(true);
    if (result && !result.message().isEmpty()) {
        // What a file of another program could not bring, once it shows.
        busy.release();
        platform::showMessage(this, result.message());
    }
}

} // namespace notivo
