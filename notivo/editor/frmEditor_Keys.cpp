#include <QAbstractSlider>
#include <QAction>
#include <QKeySequence>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>

#include "notivo/keys/EditorKeys.h"
#include "notivo/editor/frmEditor.h"

// The keyboard: every key runs the handler the mouse runs for the same
// command (the menu item, the button, the palette entry, the scroll bar),
// so the two can never differ.  The menus and tips keep their texts.
namespace notivo {
namespace {

void run(frmEditor& e, EditorCommand command)
{
    using C = EditorCommand;
    using S = QAbstractSlider;
    switch (command) {
    case C::Undo: e.EditUndo(); return;
    case C::Redo: e.EditRedo(); return;
    case C::New: e.mnuNewItm->trigger(); return;
    case C::Open: e.mnuOpenItm->trigger(); return;
    case C::SaveAs: e.mnuSaveItm->trigger(); return;
    case C::Print: e.mnuPrintItm->trigger(); return;
    case C::PrintPreview: e.mnuPrintPreviewItm->trigger(); return;
    case C::Exit: e.mnuExitItm->trigger(); return;
    case C::PlayPause: e.Command5->click(); return;
    case C::Stop: e.Command1->click(); return;
    case C::Step: e.Command2->click(); return;
    case C::Delete: e.mnuDeleteItm->trigger(); return;
    case C::MoveUp: e.mnuMoveUpItm->trigger(); return;
    case C::MoveDown: e.mnuMoveDownItm->trigger(); return;
    case C::Semiquaver: e.Option1[NoteId::Semiquaver]->click(); return;
    case C::Quaver: e.Option1[NoteId::Quaver]->click(); return;
    case C::Quarter: e.Option1[NoteId::Quarter]->click(); return;
    case C::Half: e.Option1[NoteId::Half]->click(); return;
    case C::Whole: e.Option1[NoteId::Whole]->click(); return;
    case C::QuaverPause: e.Option1[NoteId::QuaverPause]->click(); return;
    case C::QuarterPause: e.Option1[NoteId::QuarterPause]->click(); return;
    case C::Sharp: e.Check2[0]->click(); return;
    case C::Flat: e.Check2[1]->click(); return;
    case C::ScrollColumnBack: e.HScroll1->triggerAction(S::SliderSingleStepSub); return;
    case C::ScrollColumnOn: e.HScroll1->triggerAction(S::SliderSingleStepAdd); return;
    case C::ScrollPageBack: e.HScroll1->triggerAction(S::SliderPageStepSub); return;
    case C::ScrollPageOn: e.HScroll1->triggerAction(S::SliderPageStepAdd); return;
    case C::ScrollToStart: e.HScroll1->triggerAction(S::SliderToMinimum); return;
    case C::ScrollToEnd: e.HScroll1->triggerAction(S::SliderToMaximum); return;
    }
}

} // namespace

void frmEditor::connectShortcuts()
{
    for (const EditorKey& key : EditorKeys) {
        for (const QKeySequence& keys : QKeySequence::listFromString(QString::fromLatin1(key.keys))) {
            auto* shortcut = new QShortcut(keys, this);
            shortcut->setAutoRepeat(key.repeats);
            const EditorCommand command = key.command;
            connect(shortcut, &QShortcut::activated, this, [this, command] { run(*this, command); });
        }
    }
}

} // namespace notivo
