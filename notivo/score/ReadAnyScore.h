#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace notivo {

class Score;

// No file larger than this is read: the longest score of any type is far
// smaller, and a larger file was picked by mistake.
inline constexpr qint64 LargestReadableFile = 50 * 1024 * 1024;

// The kinds of file notivo opens.
enum class ReadableType { Score, MusicXml, CompressedMusicXml, Midi };

// The type of a file by its content: a MIDI header, a zip archive or XML.
// Other bytes are a score file, unless the name claims MIDI or MusicXML
// (then that reader says what is wrong); a file that begins as a score file
// ("Tone") is one, whatever its name.
ReadableType typeOfFile(QByteArrayView bytes, const QString& path);

struct ScoreReadResult {
    bool ok = false;
    ReadableType type = ReadableType::Score;
    QString fileName;   // the file's name without its folder
    QString problem;    // when not ok: what is wrong, one line without the file's name
    QString report;     // when ok: what a reader of another program's file left out or changed; empty when read in full
    QString saveAsPath; // the name Save as offers next: empty after a score file (as ever), else the
                        // same folder and name with ".txt", so the file that was opened is never overwritten
    explicit operator bool() const { return ok; }

    // The one message to show after the open, empty for none: "File not
    // valid" for a faulty score file (as ever), what is wrong with any other
    // file, else the report.
    QString message() const;
};

// The one way a file is opened, by the window and the command line: the
// score is replaced by the file at `path`, read by its content.  A faulty
// score file keeps what was read up to the fault (as ever); a file of
// another program that cannot be read, or one over LargestReadableFile,
// leaves the score as it was.  A file longer than the grid is read up to its
// last column and the report says what was cut.
ScoreReadResult readAnyScore(Score& score, const QString& path);

// As readAnyScore, for bytes already read (`path` names them: its extension
// counts where the content does not tell).
ScoreReadResult readAnyScore(Score& score, QByteArrayView bytes, const QString& path);

// The whole file at `path` up to LargestReadableFile; a problem (one line
// without the path) when it cannot be read or is larger.
QString readWholeFile(const QString& path, QByteArray& bytes);

// The Open dialog's file types: the score's own first (the default), then
// MusicXML, MIDI, and all of them together.
QStringList openFileFilters();

} // namespace notivo
