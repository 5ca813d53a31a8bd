#include "notivo/cli/CommandLine.h"

#include <QFileInfo>
#include <QTextStream>

#include <memory>
#include <optional>

#include "notivo/score/AudioExport.h"
#include "notivo/score/InstrumentNames.h"
#include "notivo/score/ReadAnyScore.h"
#include "notivo/score/ScoreModel.h"

namespace notivo {
namespace {

CommandLine failed(QString error, bool toolkitOption = false)
{
    CommandLine command;
    command.action = CommandLine::Action::Error;
    command.error = std::move(error);
    command.toolkitOption = toolkitOption;
    return command;
}

// A whole number within first..last, or nothing.
std::optional<int> wholeNumber(const QString& text, int first, int last)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < first || value > last)
        return std::nullopt;
    return value;
}

// Reads the value of --tempo or --instrument (after "=" or in the next
// argument, which `i` then passes) into `settings`; says what is wrong, or
// nothing.
QString readSetting(const QString& name, const QStringList& arguments, int& i, ExportSettings& settings)
{
    const QString& argument = arguments[i];
    QString value;
    if (argument.contains(QLatin1Char('=')))
        value = argument.section(QLatin1Char('='), 1);
    else if (i + 1 < arguments.size())
        value = arguments[++i];
    else
        return QStringLiteral("%1 needs a value").arg(name);
    const bool tempo = name == QLatin1String("--tempo");
    const int last = tempo ? TempoMaximum : InstrumentCount - 1;
    const std::optional<int> number = wholeNumber(value, 0, last);
    if (!number)
        return QStringLiteral("%1 takes a whole number from 0 to %2, not \"%3\"").arg(name).arg(last).arg(value);
    (tempo ? settings.tempoValue : settings.instrument) = *number;
    return {};
}

// What the arguments that are no options ask for, once the options are read.
CommandLine fromPositional(CommandLine command, const QStringList& positional, bool exporting, bool settingGiven)
{
    if (exporting) {
        if (positional.size() != 2)
            return failed(QStringLiteral("--export needs the file to write and the score to read: --export OUT IN"));
        command.action = CommandLine::Action::Export;
        command.exportOut = positional[0];
        command.exportIn = positional[1];
        return command;
    }
    if (settingGiven)
        return failed(QStringLiteral("--tempo and --instrument go with --export"));
    if (positional.size() > 1)
        return failed(QStringLiteral("only one score can be opened at a time"));
    command.scoreFile = positional.value(0);
    return command;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine command;
    QStringList positional;
    bool exporting = false;
    bool settingGiven = false;
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            positional << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            command.action = CommandLine::Action::Help;
            return command;
        }
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
            command.action = CommandLine::Action::Version;
            return command;
        }
        if (argument == QLatin1String("--export")) {
            exporting = true;
            continue;
        }
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        if (name == QLatin1String("--tempo") || name == QLatin1String("--instrument")) {
            const QString error = readSetting(name, arguments, i, command.settings);
            if (!error.isEmpty())
                return failed(error);
            settingGiven = true;
            continue;
        }
        return failed(QStringLiteral("unknown option \"%1\"").arg(argument), !argument.startsWith(QLatin1String("--")));
    }
    return fromPositional(command, positional, exporting, settingGiven);
}

int runExport(const CommandLine& command, QTextStream& errors)
{
    auto fail = [&errors](const QString& why) {
        errors << "notivo: " << why << '\n';
        errors.flush();
        return 2;
    };
    const std::optional<FileFormat> format = formatOfPath(command.exportOut);
    if (!format)
        return fail(QStringLiteral("\"%1\": unknown file type; use .txt, .mid, .midi, .wav, .flac, .ogg or .musicxml")
                        .arg(command.exportOut));
    if (isAudioFormat(*format) && !AudioExport::canWrite(*format))
        return fail(QStringLiteral("\"%1\": this installation cannot write %2 files")
                        .arg(command.exportOut, QFileInfo(command.exportOut).suffix()));
    // The program's own score stays as it is; the conversion works on its own copy.
    auto score = std::make_unique<Score>();
    const ScoreReadResult read = readAnyScore(*score, command.exportIn);
    if (!read)
        return fail(QStringLiteral("\"%1\" cannot be read: %2").arg(command.exportIn, read.problem));
    const ExportResult exported = exportScore(*score, command.exportOut, *format, command.settings);
    if (!exported)
        return fail(QStringLiteral("\"%1\" could not be written: %2").arg(command.exportOut, exported.error));
    // Written all the same, but what the conversion left out or changed is said.
    if (!read.report.isEmpty()) {
        errors << "notivo: \"" << command.exportIn << "\": " << read.report << '\n';
        errors.flush();
    }
    return 0;
}

} // namespace notivo
