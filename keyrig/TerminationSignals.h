#pragma once
#include <QObject>

#include <functional>

class QSocketNotifier;
class QWidget;

// Turns SIGTERM and SIGINT (a session logout, Ctrl+C in a terminal) into an
// ordinary call on the window thread, so the program ends the way it does
// when its window is closed: settings saved, port closed.  The handler only
// writes a byte to a pipe; the work happens when the event loop reads it.
// One instance at a time; the previous handlers come back when it goes.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

    // False when the handlers could not be installed (the signals keep their
    // previous meaning then).
    bool isActive() const { return notifier_ != nullptr; }

    // Ends the program with nobody there to answer: later messages go to the
    // error output, an open pop-up menu or message box is dismissed, and
    // `window` (if there is one yet) is closed the ordinary way.  A box waiting for an OK
    // would otherwise hold up the saving until the session kills the program.
    static void endUnattended(QWidget* window);

private:
    void drain();

    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};
