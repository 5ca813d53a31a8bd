#include <QScrollBar>
#include <algorithm>

#include "notivo/editor/frmEditor.h"
#include "notivo/staff/StaffGeometry.h"
#include "platform/raster/PictureBox.h"

// Undo and redo: the history records in the score layer; here the window
// shows what came back.
namespace notivo {
void frmEditor::EditUndo() { showHistoryChange(History.undo(score)); }

void frmEditor::EditRedo() { showHistoryChange(History.redo(score)); }

// Like any edit during a run, the change is only drawn: the run keeps the
// view, and sees the score as it is at its next column.
void frmEditor::showHistoryChange(const std::optional<ScoreHistory::Applied>& applied)
{
    if (!applied)
        return;
    const int s = HScroll1->value();
    const bool offScreen = applied->lastColumn < s + 1 || applied->firstColumn > s + staff::VisibleColumns;
    if (!Playing() && applied->firstColumn > 0 && offScreen)
        HScroll1->setValue(std::clamp(applied->firstColumn - 1, HScroll1->minimum(), HScroll1->maximum()));
    DisplayPentagramNotes(false);
    // A selection that came back is shown as Move Up and Move Down show it.
    if (score.SelectionStart > 0 && score.SelectionEnd >= score.SelectionStart)
        HighlightSelection();
    NoteContainerPbx->refresh();
}

// A press on the staff opens one step that its drag joins; the release of
// the last button closes it.  A press that finds a step still open (its
// release went elsewhere) closes that one first.
void frmEditor::StaffGestureStarted()
{
    if (staffGestureOpen_)
        History.end(score);
    History.begin(score);
    staffGestureOpen_ = true;
}

void frmEditor::StaffGestureEnded()
{
    if (!staffGestureOpen_)
        return;
    staffGestureOpen_ = false;
    History.end(score);
}

} // namespace notivo
