#include "notivo/score/ScoreExport.h"

#include <QFileInfo>

#include <algorithm>

#include "notivo/score/AudioExport.h"
#include "notivo/score/InstrumentNames.h"
#include "notivo/score/MidiExport.h"
#include "notivo/score/MusicXmlWriter.h"
#include "notivo/score/ScoreFile.h"
#include "platform/files/AtomicFile.h"

namespace notivo {

std::optional<FileFormat> formatOfPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("txt"))
        return FileFormat::Score;
    if (suffix == QLatin1String("mid") || suffix == QLatin1String("midi"))
        return FileFormat::Midi;
    if (suffix == QLatin1String("wav"))
        return FileFormat::Wav;
    if (suffix == QLatin1String("flac"))
        return FileFormat::Flac;
    if (suffix == QLatin1String("ogg"))
        return FileFormat::Ogg;
    if (suffix == QLatin1String("musicxml"))
        return FileFormat::MusicXml;
    return std::nullopt;
}

QStringList saveFileFilters()
{
    return {QString::fromLatin1(ScoreFileFilter), QStringLiteral("MIDI files (*.mid *.midi)"),
            QStringLiteral("Audio files (*.wav *.flac *.ogg)"), QStringLiteral("MusicXML files (*.musicxml)")};
}

ExportResult exportScore(const Score& score, const QString& path, FileFormat format, const ExportSettings& given)
{
    ExportSettings settings = given;
    settings.tempoValue = std::clamp(settings.tempoValue, 0, TempoMaximum);
    settings.instrument = std::clamp(settings.instrument, 0, InstrumentCount - 1);

    QByteArray bytes;
    switch (format) {
    case FileFormat::Score:
        return saveScoreFile(score, path);
    case FileFormat::Midi:
        bytes = midiFile(score, settings);
        break;
    case FileFormat::MusicXml:
        bytes = musicXml(score, settings.tempoValue, instrumentName(settings.instrument));
        break;
    case FileFormat::Wav:
    case FileFormat::Flac:
    case FileFormat::Ogg: {
        AudioExport audio(score, path, format, settings);
        while (audio.step()) {
        }
        return audio.finish();
    }
    }
    return saveResultOf(platform::writeFileAtomically(path, bytes));
}

} // namespace notivo
