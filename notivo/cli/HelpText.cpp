#include "notivo/cli/HelpText.h"

#include <QStringList>

#include "notivo/keys/EditorKeys.h"
#include "notivo/score/AudioExport.h"

namespace notivo {
namespace {
// The audio formats the installed synthesiser library can write, as their extensions.
QString audioFormats()
{
    QStringList formats;
    for (const auto& [format, extension] : {std::pair{FileFormat::Wav, "wav"}, std::pair{FileFormat::Flac, "flac"},
                                            std::pair{FileFormat::Ogg, "ogg"}})
        if (AudioExport::canWrite(format))
            formats << QLatin1String(extension);
    return formats.isEmpty() ? QStringLiteral("none") : formats.join(QStringLiteral(", "));
}

// The editor's keys, one a line, from the table the window's shortcuts are made of.
QStringList editorKeyLines()
{
    QStringList lines;
    for (const EditorKey& key : EditorKeys) {
        const QString keys = QString::fromLatin1(key.keys).replace(QStringLiteral("; "), QStringLiteral(", "));
        // The descriptions line up with those of the options above.
        lines << QStringLiteral("  %1%2").arg(keys + QLatin1Char(' '), -21).arg(QLatin1String(key.description));
    }
    return lines;
}
} // namespace

QString helpText()
{
    QStringList lines{
        QStringLiteral("Usage: notivo [FILE]"),
        QStringLiteral("       notivo --export OUT IN [--tempo 0..180] [--instrument 0..174]"),
        QStringLiteral("       notivo --help | --version"),
        QString(),
        QStringLiteral("Writes a score on one treble staff and plays it through a General MIDI synthesiser."),
        QString(),
        QStringLiteral("Options:"),
        QStringLiteral("  FILE                 open this file at start: a score file (.txt), MusicXML"),
        QStringLiteral("                       (.musicxml, .xml, .mxl) or a MIDI file (.mid, .midi)"),
        QStringLiteral("  --export OUT IN      convert IN to OUT without a window or sound device; IN is"),
        QStringLiteral("                       a score file (.txt), MusicXML (.musicxml, .xml, .mxl) or"),
        QStringLiteral("                       a MIDI file (.mid, .midi), told by its content; OUT's"),
        QStringLiteral("                       extension gives the format: .txt score, .mid/.midi"),
        QStringLiteral("                       Standard MIDI File, .wav/.flac/.ogg audio, .musicxml"),
        QStringLiteral("                       MusicXML 4.0"),
        QStringLiteral("  --tempo N            tempo bar value 0..180 for the export (default 110)"),
        QStringLiteral("  --instrument N       instrument list entry 0..174 for the export (default 0,"),
        QStringLiteral("                       Acoustic Grand Piano; 128..174 are drum sounds)"),
        QStringLiteral("  --synth-trace FILE   write to FILE when each message reaches the built-in"),
        QStringLiteral("                       synthesiser and when its note sounds (for measuring)"),
        QStringLiteral("  --help               show this text and end"),
        QStringLiteral("  --version            show the version and end"),
        QString(),
        QStringLiteral("Keys in the editor:"),
    };
    lines << editorKeyLines();
    lines << QString() << QStringLiteral("Audio formats this installation writes: ") + audioFormats() << QString()
          << QStringLiteral("Exit status: 0 on success, 2 on a bad argument or a failed export.") << QString();
    return lines.join(QLatin1Char('\n'));
}

QString versionText() { return QStringLiteral("notivo " PROGRAM_VERSION "\n"); }

} // namespace notivo
