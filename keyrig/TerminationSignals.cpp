#include "keyrig/TerminationSignals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <QtCore/qsystemdetection.h>

#include "platform/chrome/MessageBox.h"

void TerminationSignals::endUnattended(QWidget* window)
{
    platform::setMessageSink([](const QString& text) { qWarning("%s", qUtf8Printable(text)); });
    if (QWidget* menu = QApplication::activePopupWidget())
        menu->close();
    if (QWidget* box = QApplication::activeModalWidget())
        box->close();
    if (window)
        window->close();
}

#if defined(Q_OS_UNIX)

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};
struct sigaction previousTerm, previousInt;

void wakeUp(int)
{
    const int saved = errno;
    const char byte = 1;
    // Only async-signal-safe work here; a full pipe already has a wake-up in it.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

void closePipe()
{
    for (int& end : pipeEnds) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

bool openPipe()
{
    if (::pipe(pipeEnds) != 0)
        return false;
    for (int end : pipeEnds) {
        if (::fcntl(end, F_SETFD, FD_CLOEXEC) != 0 || ::fcntl(end, F_SETFL, O_NONBLOCK) != 0) {
            closePipe();
            return false;
        }
    }
    return true;
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal))
{
    if (pipeEnds[0] >= 0 || !openPipe())
        return;
    struct sigaction action {};
    action.sa_handler = wakeUp;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGTERM, &action, &previousTerm) != 0) {
        closePipe();
        return;
    }
    if (::sigaction(SIGINT, &action, &previousInt) != 0) {
        ::sigaction(SIGTERM, &previousTerm, nullptr);
        closePipe();
        return;
    }
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { drain(); });
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_)
        return;
    ::sigaction(SIGTERM, &previousTerm, nullptr);
    ::sigaction(SIGINT, &previousInt, nullptr);
    delete notifier_;
    closePipe();
}

void TerminationSignals::drain()
{
    // Several signals before the loop got here still mean one request.
    char bytes[64];
    while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
    }
    if (onSignal_)
        onSignal_();
}

#else

// Elsewhere the window system's own session end closes the window.
TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal))
{
}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::drain() {}

#endif
