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

QString installedDataFolder(const QString& binaryFolder, const QString& program)
{
    return QDir::cleanPath(binaryFolder + QStringLiteral("/" INSTALL_BIN_TO_DATA "/") + program);
}

QString installedDataFolder() { return installedDataFolder(programFolder(), QCoreApplication::applicationName()); }

bool runsInstalled() { return QFileInfo(installedDataFolder()).isDir(); }

QString programFile(const QString& relative)
{
    const QString local = QDir(programFolder()).filePath(relative);
    if (QFileInfo::exists(local))
        return local;
    const QString installed = QDir(installedDataFolder()).filePath(relative);
    if (QFileInfo::exists(installed))
        return installed;
    return local;
}

} // namespace platform
