#include "platform/chrome/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {
namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolderOverride(const QString& folder) { overrideFolder() = folder; }

QString programFile(const QString& relative)
{
    const QString local = QDir(programFolder()).filePath(relative);
    if (QFileInfo::exists(local) || !overrideFolder().isEmpty())
        return local;
#ifdef INSTALL_DATA_DIR
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString installed = QDir(QStringLiteral(INSTALL_DATA_DIR "/") + program).filePath(relative);
    if (QFileInfo::exists(installed))
        return installed;
#endif
    return local;
}

} // namespace platform
