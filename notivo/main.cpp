#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

#include "notivo/cli/CommandLine.h"
#include "notivo/cli/HelpText.h"
#include "notivo/editor/frmEditor.h"
#include "platform/midi/SynthTrace.h"

namespace {
using notivo::CommandLine;

// Everything but the editor: help, version, a conversion, a bad argument.
int runWithoutWindow(const CommandLine& command)
{
    QTextStream errors(stderr);
    switch (command.action) {
    case CommandLine::Action::Help:
        QTextStream(stdout) << notivo::helpText();
        return 0;
    case CommandLine::Action::Version:
        QTextStream(stdout) << notivo::versionText();
        return 0;
    case CommandLine::Action::Export:
        return notivo::runExport(command, errors);
    default:
        errors << "notivo: " << command.error << "\nTry 'notivo --help' for more information.\n";
        return 2;
    }
}
} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // --synth-trace FILE: when notes reach the synthesiser and sound.
    const QString trace = platform::midi::SynthTrace::takeOption(arguments);
    CommandLine command = notivo::parseCommandLine(arguments);
    const bool toolkitMayKnowIt = command.action == CommandLine::Action::Error && command.toolkitOption;
    if (command.action != CommandLine::Action::Edit && !toolkitMayKnowIt) {
        // No display and no sound device: a conversion needs neither.
        QCoreApplication app(argc, argv);
        return runWithoutWindow(command);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("notivo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.melodicdesktop.notivo"));
    // The toolkit has taken its own options (-platform, -style ...) out by now.
    QStringList rest = QApplication::arguments().mid(1);
    platform::midi::SynthTrace::takeOption(rest);
    command = notivo::parseCommandLine(rest);
    if (command.action != CommandLine::Action::Edit)
        return runWithoutWindow(command);
    if (!trace.isEmpty())
        platform::midi::SynthTrace::start(trace);
    notivo::Score score;
    notivo::frmEditor editor(score);
    // Without a MIDI device the start-up has told the user and the program ends.
    if (!editor.Form_Load())
        return 1;
    editor.show();
    if (!command.scoreFile.isEmpty())
        editor.openScoreFile(command.scoreFile);
    return app.exec();
}
