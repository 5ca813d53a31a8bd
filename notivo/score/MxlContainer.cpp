#include "notivo/score/MxlContainer.h"

#include <QBuffer>
#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>

namespace notivo {
namespace {

constexpr char ContainerPath[] = "META-INF/container.xml";
// A container names a file or two; anything longer is not one.
constexpr qint64 LongestContainer = 1024 * 1024;

MxlContents failed(QString problem)
{
    MxlContents contents;
    contents.problem = std::move(problem);
    return contents;
}

// Unpacks one file of the archive whole; a problem when it is missing,
// longer than `limit` or damaged.
QString unpack(QuaZip& zip, const QString& name, qint64 limit, QByteArray& out)
{
    if (!zip.setCurrentFile(name))
        return QStringLiteral("the zip archive holds no %1").arg(name);
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1 cannot be unpacked from the zip archive").arg(name);
    out.clear();
    while (out.size() <= limit) {
        const QByteArray chunk = file.read(std::min<qint64>(64 * 1024, limit + 1 - out.size()));
        if (chunk.isEmpty())
            break;
        out += chunk;
    }
    if (out.size() > limit)
        return QStringLiteral("%1 in the zip archive is larger than %2 MB").arg(name).arg(limit / (1024 * 1024));
    const bool readWhole = file.getZipError() == UNZ_OK && file.atEnd();
    file.close();
    if (!readWhole || file.getZipError() != UNZ_OK)
        return QStringLiteral("%1 is damaged in the zip archive").arg(name);
    return {};
}

// The path of the score the container names: its first root file of MusicXML
// (a root file without a media type is taken for MusicXML).
QString rootFile(const QByteArray& container, QString& problem)
{
    QXmlStreamReader xml(container);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"rootfile")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const QStringView type = attributes.value(QLatin1String("media-type"));
        const QString path = attributes.value(QLatin1String("full-path")).toString();
        if (!path.isEmpty() && (type.isEmpty() || type == u"application/vnd.recordare.musicxml+xml"))
            return path.startsWith(QLatin1Char('/')) ? path.mid(1) : path;
    }
    problem = xml.hasError() ? QStringLiteral("its %1 is broken XML: %2").arg(QLatin1String(ContainerPath), xml.errorString())
                             : QStringLiteral("its %1 names no MusicXML score").arg(QLatin1String(ContainerPath));
    return {};
}

} // namespace

MxlContents musicXmlOfMxl(QByteArrayView zipBytes, qint64 limit)
{
    QByteArray bytes = QByteArray::fromRawData(zipBytes.data(), zipBytes.size());
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return failed(QStringLiteral("it is no zip archive that can be read"));
    QByteArray container;
    QString problem = unpack(zip, QLatin1String(ContainerPath), LongestContainer, container);
    if (!problem.isEmpty())
        return failed(problem);
    const QString score = rootFile(container, problem);
    if (score.isEmpty())
        return failed(problem);
    MxlContents contents;
    problem = unpack(zip, score, limit, contents.musicXml);
    if (!problem.isEmpty())
        return failed(problem);
    contents.ok = true;
    return contents;
}

} // namespace notivo
