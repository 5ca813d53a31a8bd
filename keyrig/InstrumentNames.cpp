#include "keyrig/InstrumentNames.h"

#include <QFile>
#include <QStringDecoder>

namespace {

constexpr int LinesRead = InstrumentNames::ProgramCount + 1 + InstrumentNames::DrumCount;
constexpr qint64 MaxFileBytes = 1 << 20; // 161 short lines need a few kilobytes

// Names are usually UTF-8; files saved by older editors are Latin-1.
QString decode(const QByteArray& line)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(line);
    if (utf8.hasError())
        text = QString::fromLatin1(line);
    return text;
}

// The second TAB-separated field, or nothing when the line has no TAB.
QString nameOf(QByteArray line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    const qsizetype firstTab = line.indexOf('\t');
    if (firstTab < 0)
        return {};
    const qsizetype secondTab = line.indexOf('\t', firstTab + 1);
    const qsizetype end = secondTab < 0 ? line.size() : secondTab;
    return decode(line.mid(firstTab + 1, end - firstTab - 1)).trimmed();
}

} // namespace

InstrumentNames InstrumentNames::parse(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (lines.size() < LinesRead && start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        lines.append(bytes.mid(start, end - start));
        start = end + 1;
    }

    InstrumentNames names;
    for (int program = 0; program < ProgramCount; ++program) {
        QString name = program < lines.size() ? nameOf(lines[program]) : QString();
        names.Programs.append(name.isEmpty() ? QStringLiteral("Program %1").arg(program) : name);
    }
    for (int drum = 0; drum < DrumCount; ++drum) {
        const int line = ProgramCount + 1 + drum;
        QString name = line < lines.size() ? nameOf(lines[line]) : QString();
        names.Drums.append(name.isEmpty() ? QStringLiteral("Drum %1").arg(FirstDrumKey + drum) : name);
    }
    return names;
}

InstrumentNames InstrumentNames::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return parse({});
    return parse(file.read(MaxFileBytes));
}
