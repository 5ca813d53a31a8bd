#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>

// Where and how a recorded performance is stored: a MIDI file named after
// the moment the take began, in the user's music folder.
namespace RecordingFile {

// The user's music folder (XDG_MUSIC_DIR of user-dirs.dirs), else ~/Music.
QString musicFolder();

// keyrig-YYYYMMDD-HHMMSS.mid
QString fileName(const QDateTime& startedAt);

struct Outcome {
    QString path;  // the file written, or the one that could not be
    QString error; // empty on success
    bool ok() const { return error.isEmpty(); }
};

// Writes `bytes` into `folder` (created if needed) under the take's name,
// never over an existing file (a second take begun in the same second gets
// "-2", "-3" ...).  The file appears whole or not at all.
Outcome write(const QString& folder, const QDateTime& startedAt, const QByteArray& bytes);

} // namespace RecordingFile
