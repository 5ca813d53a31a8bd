#include "platform/files/AtomicFile.h"

#include <QSaveFile>

namespace platform {

FileWriteResult writeFileAtomically(const QString& path, const std::function<QString(QIODevice&)>& produce)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    QString reason = produce(file);
    // commit() does not notice a failed flush of what is still buffered (it
    // would put a short file in place of the old one), so flush first.
    if (reason.isEmpty() && (file.error() != QFileDevice::NoError || !file.flush()))
        reason = file.errorString();
    if (!reason.isEmpty()) {
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

FileWriteResult writeFileAtomically(const QString& path, const QByteArray& content)
{
    return writeFileAtomically(path, [&content](QIODevice& device) {
        return device.write(content) == content.size() ? QString() : device.errorString();
    });
}

} // namespace platform
