#include <QAbstractSlider>
#include <QAction>
#include <QKeySequence>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <functional>

#include "notivo/editor/EditorKeys.h"
#include "notivo/editor/EditorWiring.h"
#include "notivo/editor/frmEditor.h"

// The keyboard: every key runs the handler the mouse runs for the same
// command (the menu item, the button, the palette entry, the scroll bar),
// so the two can never differ.  The menus and tips keep their texts.
namespace notivo {
namespace {

struct KeyCommand {
    const char* keys; // one or more key sequences, separated by "; "
    const char* description;
    std::function<void(frmEditor&)> run;
    bool repeats = false; // held down, the key acts again (scrolling, undo)
};

void scroll(frmEditor& e, QAbstractSlider::SliderAction action) { e.HScroll1->triggerAction(action); }

const std::vector<KeyCommand>& keyCommands()
{
    using S = QAbstractSlider;
    static const std::vector<KeyCommand> commands = {
        {"Ctrl+Z", "Undo", [](frmEditor& e) { e.EditUndo(); }, true},
        {"Ctrl+Shift+Z; Ctrl+Y", "Redo", [](frmEditor& e) { e.EditRedo(); }, true},
        {"Ctrl+N", "New", [](frmEditor& e) { e.mnuNewItm->trigger(); }},
        {"Ctrl+O", "Open", [](frmEditor& e) { e.mnuOpenItm->trigger(); }},
        {"Ctrl+S", "Save as", [](frmEditor& e) { e.mnuSaveItm->trigger(); }},
        {"Ctrl+P", "Print", [](frmEditor& e) { e.mnuPrintItm->trigger(); }},
        {"Ctrl+Shift+P", "Print Preview", [](frmEditor& e) { e.mnuPrintPreviewItm->trigger(); }},
        {"Ctrl+Q", "Exit", [](frmEditor& e) { e.mnuExitItm->trigger(); }},
        {"Space", "Play/Pause", [](frmEditor& e) { e.Command5->click(); }},
        {"Esc", "Stop", [](frmEditor& e) { e.Command1->click(); }},
        {".", "Step", [](frmEditor& e) { e.Command2->click(); }},
        {"Del", "Delete the selected columns", [](frmEditor& e) { e.mnuDeleteItm->trigger(); }},
        {"Ctrl+Up", "Move Up", [](frmEditor& e) { e.mnuMoveUpItm->trigger(); }},
        {"Ctrl+Down", "Move Down", [](frmEditor& e) { e.mnuMoveDownItm->trigger(); }},
        {"1", "Semiquaver", [](frmEditor& e) { e.Option1[NoteId::Semiquaver]->click(); }},
        {"2", "Quaver", [](frmEditor& e) { e.Option1[NoteId::Quaver]->click(); }},
        {"3", "Quarter", [](frmEditor& e) { e.Option1[NoteId::Quarter]->click(); }},
        {"4", "Half", [](frmEditor& e) { e.Option1[NoteId::Half]->click(); }},
        {"5", "Whole", [](frmEditor& e) { e.Option1[NoteId::Whole]->click(); }},
        {"6", "Quaver Pause", [](frmEditor& e) { e.Option1[NoteId::QuaverPause]->click(); }},
        {"7", "Quarter Pause", [](frmEditor& e) { e.Option1[NoteId::QuarterPause]->click(); }},
        {"S", "Sharp on or off", [](frmEditor& e) { e.Check2[0]->click(); }},
        {"F", "Flat on or off", [](frmEditor& e) { e.Check2[1]->click(); }},
        {"Left", "Scroll one column back", [](frmEditor& e) { scroll(e, S::SliderSingleStepSub); }, true},
        {"Right", "Scroll one column on", [](frmEditor& e) { scroll(e, S::SliderSingleStepAdd); }, true},
        {"PgUp", "Scroll one page back", [](frmEditor& e) { scroll(e, S::SliderPageStepSub); }, true},
        {"PgDown", "Scroll one page on", [](frmEditor& e) { scroll(e, S::SliderPageStepAdd); }, true},
        {"Home", "Scroll to the start", [](frmEditor& e) { scroll(e, S::SliderToMinimum); }},
        {"End", "Scroll to the end", [](frmEditor& e) { scroll(e, S::SliderToMaximum); }},
    };
    return commands;
}

} // namespace

void connectShortcuts(frmEditor& e)
{
    for (const KeyCommand& command : keyCommands()) {
        const auto sequences = QKeySequence::listFromString(QString::fromLatin1(command.keys));
        for (const QKeySequence& keys : sequences) {
            auto* shortcut = new QShortcut(keys, &e);
            shortcut->setAutoRepeat(command.repeats);
            const auto& run = command.run;
            QObject::connect(shortcut, &QShortcut::activated, &e, [&e, &run] { run(e); });
        }
    }
}

QString editorKeyList()
{
    QString text;
    for (const KeyCommand& command : keyCommands()) {
        const QString keys = QString::fromLatin1(command.keys).replace(QStringLiteral("; "), QStringLiteral(" or "));
        text += QStringLiteral("  %1  %2\n").arg(keys, -22).arg(QString::fromLatin1(command.description));
    }
    return text;
}

} // namespace notivo
