#pragma once
#include <QString>
#include <QStringList>

#include <optional>

#include "notivo/score/PassRules.h"
#include "notivo/score/ScoreFile.h"

namespace notivo {

class Score;

// The kinds of file a score can be saved as: its own text, or a file for
// other programs.
enum class FileFormat { Score, Midi, Wav, Flac, Ogg, MusicXml };

// Audio is rendered through the synthesiser rather than written at once.
constexpr bool isAudioFormat(FileFormat format)
{
    return format == FileFormat::Wav || format == FileFormat::Flac || format == FileFormat::Ogg;
}

// The format a file name asks for by its extension (any case); none for an
// extension we do not write.
std::optional<FileFormat> formatOfPath(const QString& path);

// The save dialog's file types, the score's own first.
QStringList saveFileFilters();


// What a file is made of besides the score: the tempo bar's value (0..180)
// and the instrument list entry (0..174).
struct ExportSettings {
    int tempoValue = TempoAtStart;
    int instrument = 0;
};

using ExportResult = ScoreSaveResult;

// Writes the score to `path` in `format` at once (the audio render runs to
// its end).  The score is not changed; on any failure the file at `path`,
// if there was one, is left as it was.
ExportResult exportScore(const Score& score, const QString& path, FileFormat format, const ExportSettings& settings);

} // namespace notivo
