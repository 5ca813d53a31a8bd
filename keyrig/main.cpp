#include <QApplication>

#include "keyrig/TerminationSignals.h"
#include "keyrig/frmPiano.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("keyrig"));

    // A logout or Ctrl+C ends the program as closing the window does, with
    // the settings saved; also while the window is still starting.
    frmPiano* window = nullptr;
    bool ending = false;
    TerminationSignals endSignals([&] {
        ending = true;
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
