#include "keyrig/CommandLine.h"

namespace CommandLine {
namespace {

QString helpText()
{
    return QStringLiteral(
        "Usage: keyrig [--midi-log FILE]\n"
        "       keyrig --help | --version\n"
        "Play a three-octave keyboard, twelve drum pads and a drum beat from the\n"
        "computer keyboard through the built-in synthesiser or a MIDI port.\n"
        "\n"
        "  --midi-log FILE  also write every MIDI message sent, with its time, to FILE\n"
        "  --synth-trace FILE  write to FILE when each message reaches the built-in\n"
        "                   synthesiser and when its note sounds (for measuring)\n"
        "  -h, --help       show this help and exit\n"
        "  -v, --version    show the version and exit\n"
        "\n"
        "Keys: Z S X D C ... / and Q 2 W 3 E ... - [ play the notes, the numeric\n"
        "keypad plays the drum pads, F1-F4 recall the instrument banks, F5-F9 drive\n"
        "the beat (Intro, Fill, Pause, Ending, Stop), F12 records what is played to\n"
        "a MIDI file in the music folder.  See keyrig(1).\n");
}

} // namespace

Request read(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return {Action::Help, helpText(), {}};
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            return {Action::Version, QStringLiteral("keyrig " PROGRAM_VERSION "\n"), {}};
    }
    Request run;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--midi-log") && i + 1 < arguments.size() && !arguments[i + 1].isEmpty()) {
            run.midiLog = arguments[++i];
            continue;
        }
        return {Action::Error,
                QStringLiteral("keyrig: unknown argument '%1'\nTry 'keyrig --help'.\n").arg(arguments[i]), {}};
    }
    return run;
}

} // namespace CommandLine
