#pragma once
#include <QGuiApplication>

namespace platform {

// The hourglass for the length of a long command, restored on every way out
// (also on the error path); release() gives the pointer back early, e.g.
// before a message box the user must answer.
class BusyPointer {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { release(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    void release()
    {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
        active_ = false;
    }

private:
    bool active_ = true;
};

} // namespace platform
