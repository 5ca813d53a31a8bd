#include "notivo/score/ScoreFile.h"

#include "notivo/score/ReadAnyScore.h"
#include "notivo/score/ScoreAccidentalEntry.h"
#include "notivo/score/ScoreModel.h"
#include "platform/files/AtomicFile.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace notivo {
namespace {

constexpr std::string_view SharpsPrefix = "Sharps:";
constexpr std::string_view FlatsPrefix = "Flats:";
constexpr int TonePrefixLength = 8; // "ToneNN: "

void appendEntry(QByteArray& text, int position, int column)
{
    char entry[32]; // two ints of at most 11 characters each, a comma and a blank
    char* end = std::to_chars(entry, entry + 12, position).ptr;
    *end++ = ',';
    end = std::to_chars(end, end + 12, column).ptr;
    *end++ = ' ';
    text.append(entry, end - entry);
}

int hexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    return -1;
}

QString entryProblem(AccidentalEntryError error)
{
    switch (error) {
    case AccidentalEntryError::NoComma: return QStringLiteral("has no comma");
    case AccidentalEntryError::NotANumber: return QStringLiteral("is not a pair of numbers");
    case AccidentalEntryError::PositionOutOfRange: return QStringLiteral("names a position outside 1..40");
    case AccidentalEntryError::ColumnOutOfRange: return QStringLiteral("names a column outside 1..500");
    case AccidentalEntryError::None: break;
    }
    return {};
}

ScoreLoadResult invalid(QString reason) { return ScoreLoadResult{false, std::move(reason)}; }

} // namespace

QByteArray scoreText(const Score& score)
{
    const int columns = std::clamp(score.ColumnCount, 0, ScoreColumns);
    QByteArray text;
    text.reserve(ScorePositions * (TonePrefixLength + 2 * columns + 2) + 2);
    QByteArray sharps = "Sharps: ";
    QByteArray flats = "Flats: ";
    sharps.reserve(4096);
    flats.reserve(4096);
    static constexpr char hex[] = "0123456789ABCDEF";
    char line[TonePrefixLength + 2 * ScoreColumns + 2];
    for (int p = 1; p <= ScorePositions; ++p) {
        char* out = line;
        for (char ch : {'T', 'o', 'n', 'e', char('0' + p / 10), char('0' + p % 10), ':', ' '})
            *out++ = ch;
        for (int c = 1; c <= columns; ++c) {
            // Upper-case hexadecimal without padding (ids above 15 never come from editing or files).
            const std::uint8_t id = score.ScoreNotes.cell(p, c);
            if (id >= 16)
                *out++ = hex[id >> 4];
            *out++ = hex[id & 15];
            const std::uint8_t accidental = score.ScoreAccidentals.cell(p, c);
            if (accidental == Accidental::Sharp)
                appendEntry(sharps, p, c);
            else if (accidental == Accidental::Flat)
                appendEntry(flats, p, c);
        }
        *out++ = '\r';
        *out++ = '\n';
        text.append(line, out - line);
    }
    text += "\r\n";
    text += sharps;
    text += "\r\n";
    text += flats;
    text += "\r\n";
    return text;
}

ScoreSaveResult saveResultOf(const platform::FileWriteResult& written)
{
    if (!written)
        return {false, written.reason};
    return {true, {}};
}

ScoreSaveResult saveScoreFile(const Score& score, const QString& path)
{
    // The old file stays as it was unless the whole text reached the disk.
    return saveResultOf(platform::writeFileAtomically(path, scoreText(score)));
}

ScoreLoadResult readScore(Score& score, QByteArrayView bytes)
{
    score.resetForLoad();

    const std::string_view text(bytes.data(), static_cast<std::size_t>(bytes.size()));
    bool digitRead = false; // faulty accidental entries before the first digit are skipped
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size()) {
            pos += (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        }
        ++lineNumber;

        const bool sharps = line.starts_with(SharpsPrefix);
        const bool flats = line.starts_with(FlatsPrefix);
        if (sharps || flats) {
            // The pieces after the colon and its blank; the piece before the first blank is skipped.
            std::string_view rest = line.substr(sharps ? SharpsPrefix.size() - 1 : FlatsPrefix.size());
            bool first = true;
            for (;;) {
                const std::size_t blank = rest.find(' ');
                const std::string_view piece = rest.substr(0, blank);
                if (!first) {
                    const AccidentalEntryError error = MakeSharpFlat(score, piece, sharps ? "Sharp" : "Flat");
                    if (error != AccidentalEntryError::None && digitRead)
                        return invalid(QStringLiteral("line %1: the entry \"%2\" %3")
                                           .arg(lineNumber)
                                           .arg(QString::fromLatin1(piece.data(), qsizetype(piece.size())))
                                           .arg(entryProblem(error)));
                }
                first = false;
                if (blank == std::string_view::npos)
                    break;
                rest.remove_prefix(blank + 1);
            }
        }

        const long long digits = static_cast<long long>(line.size()) - TonePrefixLength;
        if (lineNumber <= ScorePositions && digits <= ScoreColumns) {
            for (int i = 1; i <= digits; ++i) {
                const char ch = line[TonePrefixLength + i - 1];
                const int value = hexValue(ch);
                if (value < 0)
                    return invalid(QStringLiteral("line %1, column %2: '%3' is not a hexadecimal digit")
                                       .arg(lineNumber)
                                       .arg(i)
                                       .arg(QString::fromLatin1(&ch, 1)));
                score.ScoreNotes.cell(lineNumber, i) = static_cast<std::uint8_t>(value);
                digitRead = true;
                if (value != 0 && i > score.ColumnCount)
                    score.ColumnCount = i;
            }
        }
    }
    return {};
}

ScoreLoadResult loadScoreFile(Score& score, const QString& path)
{
    QByteArray bytes;
    const QString problem = readWholeFile(path, bytes);
    if (!problem.isEmpty())
        return invalid(QStringLiteral("\"%1\": %2").arg(path, problem));
    return readScore(score, bytes);
}

} // namespace notivo
