#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform { struct FileWriteResult; }

namespace notivo {

class Score;

// The text shown when a score file cannot be loaded.
inline constexpr char FileNotValidMessage[] = "File not valid";
// File dialog filter: the one entry "Melvar files|*.txt" in Qt's notation.
inline constexpr char ScoreFileFilter[] = "Melvar files (*.txt)";

// The exact bytes of the score file: lines "ToneNN: " + one upper-case hex
// digit per column 1..ColumnCount for positions 01..40, an empty line, the
// "Sharps: " and "Flats: " lines (entries "p,c "), every line ended by CR LF.
QByteArray scoreText(const Score& score);

struct ScoreSaveResult {
    bool ok = false;
    QString error; // one line saying why it failed (the system's reason, without the path); empty when ok
    explicit operator bool() const { return ok; }
};

// The outcome of an atomic file write, as a save's result.
ScoreSaveResult saveResultOf(const platform::FileWriteResult& written);

// Writes the score to `path` through a temporary file beside it that replaces
// the target only once the whole text is written; on any failure the old file
// is left exactly as it was.
ScoreSaveResult saveScoreFile(const Score& score, const QString& path);

struct ScoreLoadResult {
    bool valid = true;
    QString reason; // what was wrong (for diagnostics); the user sees FileNotValidMessage
    explicit operator bool() const { return valid; }
};

// Replaces the score by the file text in `bytes` (lines ended by CR LF, LF or
// CR).  The score is cleared first; on an invalid file the cells read before
// the fault stay loaded, as does ColumnCount reached so far.
ScoreLoadResult readScore(Score& score, QByteArrayView bytes);

// Reads the file at `path` whole (no more than any readable file), then as
// readScore.  A file that cannot be opened or read is not valid and leaves
// the score untouched.
ScoreLoadResult loadScoreFile(Score& score, const QString& path);

} // namespace notivo
