#include "keyrig/ConfigFile.h"

#include "platform/files/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <charconv>
#include <optional>

#include "platform/chrome/ProgramFolder.h"

namespace ConfigFile {
namespace {

constexpr qint64 MaxFileBytes = 1 << 20; // far more than 17 numbers ever need
const QString FileName = QStringLiteral("config.dat");

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Walks the values of the file: a value ends at a blank, a comma or the end.
class ValueReader {
public:
    explicit ValueReader(const QByteArray& bytes) : data_(bytes.constData()), end_(data_ + bytes.size()) {}

    std::optional<int> next()
    {
        if (!first_) {
            skipBlanks();
            if (pos_ < end_ && *pos_ == ',')
                ++pos_;
        }
        first_ = false;
        skipBlanks();
        const char* start = pos_;
        while (pos_ < end_ && !isBlank(*pos_) && *pos_ != ',')
            ++pos_;
        if (start == pos_)
            return std::nullopt;
        const char* digits = start;
        if (*digits == '+')
            ++digits; // from_chars takes a minus sign only
        if (digits == pos_ || (*digits == '-' && start != digits))
            return std::nullopt;
        int value = 0;
        const auto [last, error] = std::from_chars(digits, pos_, value);
        if (error != std::errc() || last != pos_)
            return std::nullopt;
        return value;
    }

private:
    void skipBlanks()
    {
        while (pos_ < end_ && isBlank(*pos_))
            ++pos_;
    }

    const char* data_;
    const char* end_;
    const char* pos_ = data_;
    bool first_ = true;
};

bool isMidiValue(int value) { return value >= 0 && value <= 127; }

void appendNumber(QByteArray& out, int value)
{
    if (value >= 0)
        out += ' ';
    out += QByteArray::number(value);
    out += ' ';
}

bool folderTakesFiles(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    // A real probe: permission bits say little for root or a read-only mount.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("config.XXXXXX")));
    return probe.open();
}

QString userPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(FileName);
}

} // namespace

int parse(const QByteArray& bytes, KeyrigSettings& settings)
{
    // Editors that save as UTF-8 may put a byte-order mark in front.
    static const QByteArray ByteOrderMark("\xEF\xBB\xBF");
    const QByteArray text = bytes.startsWith(ByteOrderMark) ? bytes.sliced(ByteOrderMark.size()) : bytes;
    ValueReader reader(text);
    int count = 0;
    auto take = [&](int& slot, bool midiValue) {
        const auto value = reader.next();
        if (!value)
            return false;
        if (!midiValue || isMidiValue(*value))
            slot = *value;
        ++count;
        return true;
    };
    if (!take(settings.PortDevice, false))
        return count;
    for (int& bank : settings.Banks)
        if (!take(bank, true))
            return count;
    for (int& note : settings.DrumNotes)
        if (!take(note, true))
            return count;
    return count;
}

QByteArray format(const KeyrigSettings& settings)
{
    QByteArray out;
    appendNumber(out, settings.PortDevice);
    out += "\r\n";
    for (int bank : settings.Banks)
        appendNumber(out, bank);
    out += "\r\n";
    for (int note : settings.DrumNotes)
        appendNumber(out, note);
    out += "\r\n";
    return out;
}

QString readPath()
{
    const QString folder = platform::programFolder();
    if (platform::runsInstalled())
        return userPath();
    if (folderTakesFiles(folder))
        return QDir(folder).filePath(FileName);
    const QString user = userPath();
    if (QFileInfo::exists(user))
        return user;
    return QDir(folder).filePath(FileName);
}

QString writePath()
{
    // An installed program's folder is the system's (root could write
    // there, and the file would outlive the package): settings are the user's.
    const QString folder = platform::programFolder();
    if (!platform::runsInstalled() && folderTakesFiles(folder))
        return QDir(folder).filePath(FileName);
    return userPath();
}

void read(const QString& path, KeyrigSettings& settings)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    parse(file.read(MaxFileBytes), settings);
}

bool write(const QString& path, const KeyrigSettings& settings)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return platform::writeFileAtomically(path, format(settings)).ok;
}

} // namespace ConfigFile
