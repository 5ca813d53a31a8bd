#pragma once
#include <QCoreApplication>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

#include "notivo/editor/EditorWindows.h"
#include "notivo/editor/Scheduler.h"

class QMenu;
class QWidget;

namespace platform::midi { class MidiService; }

namespace notivo {

class Score;

// What the editor window uses of the world beyond it: how the program ends,
// the dialogs and windows its menus open, the scheduler of every wait (whose
// clock the elapsed time reads) and the MIDI service its device is opened
// on.  The defaults are the real ones; tests give fakes.
struct EditorServices {
    std::function<void()> endProgram = [] { QCoreApplication::exit(0); };
    // The chosen path, empty when cancelled.
    std::function<QString(QWidget* parent, const QString& folder)> chooseSaveFile = chooseScoreFileToSave;
    std::function<QString(QWidget* parent, const QString& folder)> chooseOpenFile = chooseScoreFileToOpen;
    // Returns when the menu has closed.
    std::function<void(QMenu* menu, const QPoint& globalPos)> popupMenu = popupMenuAt;
    std::function<void(QWidget* parent, Score& score)> showPrintDialog = notivo::showPrintDialog;
    std::function<void(QWidget* parent, Score& score)> showPrintPreview = notivo::showPrintPreview;
    std::function<void(QWidget* parent)> showAbout = showAboutBox;
    std::unique_ptr<Scheduler> scheduler = std::make_unique<WindowScheduler>();
    // None: the process-wide service, the system's unless another is installed.
    platform::midi::MidiService* midi = nullptr;
};

} // namespace notivo
