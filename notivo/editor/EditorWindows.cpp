#include "notivo/editor/EditorWindows.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>

#include "notivo/score/ReadAnyScore.h"
#include "notivo/score/ScoreExport.h"
#include "notivo/score/ScoreFile.h"
#include "notivo/printing/PrintPreview.h"
#include "notivo/printing/frmPrint.h"
#include "notivo/widgets/frmAbout.h"

namespace notivo {
namespace {
// The extension a name without one gets under a file type: its first pattern's.
QString suffixOfFilter(const QString& filter)
{
    const qsizetype at = filter.indexOf(QStringLiteral("*."));
    return at < 0 ? QString() : filter.mid(at + 2).section(QRegularExpression(QStringLiteral("[ )]")), 0, 0);
}

QString chooseScoreFile(QWidget* parent, const QString& where, QFileDialog::AcceptMode mode)
{
    // A file to propose starts the dialog in its folder with its name typed.
    const QFileInfo proposed(where);
    const bool isFile = !where.isEmpty() && !proposed.isDir();
    QFileDialog dialog(parent, QString(), isFile ? proposed.absolutePath() : where, QString::fromLatin1(ScoreFileFilter));
    if (isFile)
        dialog.selectFile(proposed.fileName());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (mode == QFileDialog::AcceptSave) {
        // Scores stay first and chosen; the other types export.  A name typed
        // with an extension of its own keeps it, and that extension decides.
        const QStringList filters = saveFileFilters();
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.constFirst());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& chosen) {
            for (const QString& filter : filters)
                if (filter == chosen || filter.startsWith(chosen))
                    dialog.setDefaultSuffix(suffixOfFilter(filter));
        });
    } else {
        // Scores stay first and chosen; files of other programs can be read too.
        const QStringList filters = openFileFilters();
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.constFirst());
    }
    // The filter reads "Melvar files", without the pattern after it.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString chooseScoreFileToSave(QWidget* parent, const QString& where)
{
    return chooseScoreFile(parent, where, QFileDialog::AcceptSave);
}

QString chooseScoreFileToOpen(QWidget* parent, const QString& folder)
{
    return chooseScoreFile(parent, folder, QFileDialog::AcceptOpen);
}

void popupMenuAt(QMenu* menu, const QPoint& globalPos) { menu->exec(globalPos); }

void showPrintDialog(QWidget* parent, Score& score)
{
    frmPrint dialog(parent, score);
    dialog.exec();
}

void showPrintPreview(QWidget* parent, Score& score)
{
    PrintPreview::showFor(parent, score);
}

void showAboutBox(QWidget* parent)
{
    frmAbout about(parent);
    about.exec();
}

} // namespace notivo
