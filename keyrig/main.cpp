#include <QApplication>

#include <cstdio>
#include <memory>

#include "keyrig/CommandLine.h"
#include "keyrig/TerminationSignals.h"
#include "keyrig/frmPiano.h"
#include "platform/midi/LoggedMidiService.h"
#include "platform/midi/SynthTrace.h"

int main(int argc, char** argv)
{
    // Help and version need no display, so they are answered before Qt starts.
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    // --synth-trace FILE: when notes reach the synthesiser and sound.
    const QString trace = platform::midi::SynthTrace::takeOption(given);
    if (const auto early = CommandLine::read(given);
        early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version) {
        std::fputs(early.text.toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("keyrig"));
    QApplication::setApplicationVersion(QStringLiteral(PROGRAM_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.melodicdesktop.keyrig"));
    // What is left once Qt has taken its own options (-platform, -display ...).
    QStringList rest = app.arguments().mid(1);
    platform::midi::SynthTrace::takeOption(rest);
    const auto request = CommandLine::read(rest);
    if (request.action == CommandLine::Action::Error) {
        std::fputs(request.text.toLocal8Bit().constData(), stderr);
        return 2;
    }
    std::unique_ptr<platform::midi::LoggedMidiService> logged;
    if (!request.midiLog.isEmpty()) {
        logged = std::make_unique<platform::midi::LoggedMidiService>(platform::midi::midiService(), request.midiLog);
        if (!logged->isOpen()) {
            std::fprintf(stderr, "keyrig: cannot write %s\n", qUtf8Printable(request.midiLog));
            return 2;
        }
        platform::midi::installMidiService(logged.get());
    }
    if (!trace.isEmpty())
        platform::midi::SynthTrace::start(trace);

    // A logout or Ctrl+C ends the program as closing the window does, with
    // the settings saved; also while the window is still starting.
    frmPiano* window = nullptr;
    bool ending = false;
    TerminationSignals endSignals([&] {
        ending = true;
        if (window)
            window->endingUnattended();
        TerminationSignals::endUnattended(window);
    });
    frmPiano piano;
    window = &piano;
    if (ending) {
        piano.close();
        return 0;
    }
    piano.show();
    piano.activateWindow();
    return app.exec();
}
