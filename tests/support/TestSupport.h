#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

// Root of the source tree, for tests that read the files shipped with the
// programs (cursor files, instrument.txt).
inline QString sourceDir() { return QStringLiteral(SOURCE_DIR); }

// In a namespace of their own: some test files still have local helpers of
// these names.
namespace testfiles {

// The bytes of the file at `path`; a marker no test writes when it cannot be
// read, so a missing file never passes for an empty one.
inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Writes `bytes` as the whole file at `path` (an old file for a save to keep
// or replace); false when any of it could not be written.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace testfiles
