#include "keyrig/RecordingFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/files/AtomicFile.h"

namespace RecordingFile {

QString musicFolder()
{
    // Qt reads the same user-dirs.dirs as xdg-user-dir and falls back to ~/Music.
    return QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
}

QString fileName(const QDateTime& startedAt)
{
    return QStringLiteral("keyrig-%1.mid").arg(startedAt.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

namespace {

QString freePath(const QDir& dir, const QDateTime& startedAt)
{
    const QString name = fileName(startedAt);
    QString path = dir.filePath(name);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QFileInfo(name).completeBaseName() + QStringLiteral("-%1.mid").arg(n));
    return path;
}

} // namespace

Outcome write(const QString& folder, const QDateTime& startedAt, const QByteArray& bytes)
{
    const QDir dir(folder);
    if (!QDir().mkpath(folder)) // also false where a file has the folder's name
        return {dir.filePath(fileName(startedAt)), QStringLiteral("the folder could not be created")};
    const QString path = freePath(dir, startedAt);
    return {path, platform::writeFileAtomically(path, bytes).reason};
}

} // namespace RecordingFile
