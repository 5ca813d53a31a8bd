#include "notivo/score/ReadAnyScore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <optional>

#include "notivo/score/MidiImport.h"
#include "notivo/score/MusicXmlReader.h"
#include "notivo/score/MxlContainer.h"
#include "notivo/score/ScoreFile.h"
#include "notivo/score/ScoreModel.h"

namespace notivo {
namespace {

std::optional<ReadableType> typeOfName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("mid") || suffix == QLatin1String("midi"))
        return ReadableType::Midi;
    if (suffix == QLatin1String("mxl"))
        return ReadableType::CompressedMusicXml;
    if (suffix == QLatin1String("musicxml") || suffix == QLatin1String("xml"))
        return ReadableType::MusicXml;
    return std::nullopt;
}

bool looksLikeXml(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return true; // UTF-16, which only XML of these types is written in
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    for (char c : bytes) {
        if (c == '<')
            return true;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return false;
}

// A reader of another program's file works on a score of its own, which
// replaces the score only once the file was read.
template <class Read>
ScoreReadResult readForeign(Score& score, ScoreReadResult result, Read read)
{
    auto fresh = std::make_unique<Score>();
    const ImportResult imported = read(*fresh);
    if (!imported) {
        result.problem = imported.problem;
        return result;
    }
    // What Open replaces; the selection and the palette choice stay.
    score.ScoreNotes = fresh->ScoreNotes;
    score.ScoreAccidentals = fresh->ScoreAccidentals;
    score.ColumnCount = fresh->ColumnCount;
    result.ok = true;
    result.report = imported.report;
    return result;
}

} // namespace

ReadableType typeOfFile(QByteArrayView bytes, const QString& path)
{
    if (bytes.startsWith("MThd"))
        return ReadableType::Midi;
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06"))
        return ReadableType::CompressedMusicXml;
    if (looksLikeXml(bytes))
        return ReadableType::MusicXml;
    if (bytes.startsWith("Tone"))
        return ReadableType::Score;
    return typeOfName(path).value_or(ReadableType::Score);
}

QString ScoreReadResult::message() const
{
    if (!ok)
        return type == ReadableType::Score ? QString::fromLatin1(FileNotValidMessage)
                                           : QStringLiteral("%1 cannot be read: %2").arg(fileName, problem);
    return report;
}

QString readWholeFile(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("it cannot be opened: %1").arg(file.errorString());
    auto larger = [] { return QStringLiteral("it is larger than %1 MB").arg(LargestReadableFile / (1024 * 1024)); };
    if (file.size() > LargestReadableFile)
        return larger();
    // Room for the whole file and one byte more, which shows whether it grew
    // meanwhile (or a device without a size goes on): never more than the
    // limit and that byte, so that an endless device cannot hold us.
    qint64 used = 0;
    bytes.resize(std::max<qint64>(file.size(), 64 * 1024) + 1);
    for (;;) {
        if (used == bytes.size()) {
            if (used > LargestReadableFile)
                return larger();
            bytes.resize(std::min<qint64>(2 * used, LargestReadableFile + 1));
        }
        const qint64 read = file.read(bytes.data() + used, bytes.size() - used);
        if (read < 0)
            return QStringLiteral("it cannot be read: %1").arg(file.errorString());
        if (read == 0)
            break;
        used += read;
    }
    bytes.resize(used);
    return {};
}

ScoreReadResult readAnyScore(Score& score, const QString& path)
{
    QByteArray bytes;
    const QString problem = readWholeFile(path, bytes);
    if (problem.isEmpty())
        return readAnyScore(score, bytes, path);
    ScoreReadResult result;
    result.type = typeOfName(path).value_or(ReadableType::Score);
    result.fileName = QFileInfo(path).fileName();
    result.problem = problem;
    return result;
}

ScoreReadResult readAnyScore(Score& score, QByteArrayView bytes, const QString& path)
{
    ScoreReadResult result;
    result.type = typeOfFile(bytes, path);
    const QFileInfo info(path);
    result.fileName = info.fileName();
    if (result.type != ReadableType::Score)
        result.saveAsPath = info.dir().filePath(info.completeBaseName() + QStringLiteral(".txt"));

    switch (result.type) {
    case ReadableType::Score: {
        const ScoreLoadResult loaded = readScore(score, bytes);
        result.ok = loaded.valid;
        result.problem = loaded.reason;
        return result;
    }
    case ReadableType::MusicXml:
        return readForeign(score, result, [&](Score& read) {
            if (!looksLikeXml(bytes))
                return ImportResult{false, QStringLiteral("it is not a MusicXML file: it does not begin with XML"), {}};
            return readMusicXml(bytes, read);
        });
    case ReadableType::CompressedMusicXml:
        return readForeign(score, result, [&](Score& read) {
            const MxlContents contents = musicXmlOfMxl(bytes, LargestReadableFile);
            if (!contents)
                return ImportResult{false, contents.problem, {}};
            return readMusicXml(contents.musicXml, read);
        });
    case ReadableType::Midi:
        return readForeign(score, result, [&](Score& read) { return readMidiFile(bytes, read); });
    }
    return result;
}

QStringList openFileFilters()
{
    return {QString::fromLatin1(ScoreFileFilter), QStringLiteral("MusicXML files (*.musicxml *.xml *.mxl)"),
            QStringLiteral("MIDI files (*.mid *.midi)"),
            QStringLiteral("All readable files (*.txt *.musicxml *.xml *.mxl *.mid *.midi)")};
}

} // namespace notivo
