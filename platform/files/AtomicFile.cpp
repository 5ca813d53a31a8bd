#include "platform/files/AtomicFile.h"

#include <QSaveFile>

#include <cerrno>

namespace platform {
namespace {

// A write cut short by a full disk or a size limit leaves Qt without a word
// for it ("Unknown error"); the system's own word is still in errno.
QString reasonOf(const QFileDevice& file)
{
    if (file.errorString() == QStringLiteral("Unknown error") && errno != 0)
        return qt_error_string(errno);
    return file.errorString();
}

} // namespace

FileWriteResult writeFileAtomically(const QString& path, const std::function<QString(QIODevice&)>& produce)
{
    errno = 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, reasonOf(file)};
    QString reason = produce(file);
    // commit() does not notice a failed flush of what is still buffered (it
    // would put a short file in place of the old one), so flush first.
    if (reason.isEmpty() && (file.error() != QFileDevice::NoError || !file.flush()))
        reason = reasonOf(file);
    if (!reason.isEmpty()) {
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, reasonOf(file)};
    return {true, {}};
}

FileWriteResult writeFileAtomically(const QString& path, const QByteArray& content)
{
    return writeFileAtomically(path, [&content](QIODevice& device) {
        return device.write(content) == content.size() ? QString() : device.errorString();
    });
}

} // namespace platform
