#pragma once
#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace platform {

struct FileWriteResult {
    bool ok = false;
    QString reason; // the system's word for what went wrong; empty when ok
    explicit operator bool() const { return ok; }
};

// Writes a file so that it is either whole or not there: the content goes to
// a temporary file beside the target, which replaces the target only once
// everything is written and flushed.  On any failure (or when `produce`
// gives up) the old file, if any, is left exactly as it was and no temporary
// file remains.  `produce` writes the content into the device and returns an
// empty string, or the reason it could not.
FileWriteResult writeFileAtomically(const QString& path, const std::function<QString(QIODevice&)>& produce);
FileWriteResult writeFileAtomically(const QString& path, const QByteArray& content);

} // namespace platform
