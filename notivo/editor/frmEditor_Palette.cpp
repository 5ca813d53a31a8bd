#include <QToolButton>

#include "notivo/editor/CursorFiles.h"
#include "notivo/editor/frmEditor.h"
#include "platform/raster/PictureBox.h"
#include "platform/raster/RatioPicture.h"

namespace notivo {
namespace {

constexpr int NoteIds[] = {1, 2, 3, 4, 5, 10, 11};
const QSize PictureSize(21, 21);

void setPicture(QToolButton* button, const QString& name)
{
    button->setIcon(platform::raster::iconForRatio(QStringLiteral(":/images/palette_%1.png").arg(name),
                                                   button->devicePixelRatio()));
    button->setIconSize(PictureSize);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

} // namespace

// The editing, palette, playback, timer and tip handlers, each wired in the
// file that owns them.
void frmEditor::connectEditingHandlers()
{
    assignControlTips();
    connectPalette();
    connectStaffMouse();
    connectPlayback();
    connectTimer();
    connectShortcuts();
}

void frmEditor::connectPalette()
{
    for (int id : NoteIds) {
        setPicture(Option1[id], QString::number(id));
        connect(Option1[id], &QToolButton::clicked, this, [this, id] { Option1_Click(id); });
    }
    setPicture(Check2[0], QStringLiteral("sharp"));
    setPicture(Check2[1], QStringLiteral("flat"));
    setPicture(Check1, QStringLiteral("select"));
    setPicture(Check4, QStringLiteral("gap"));
    setPicture(Check5, QStringLiteral("delete"));
    setPicture(Option3[0], QStringLiteral("pencil"));
    setPicture(Option3[1], QStringLiteral("animated"));

    // A box changed from code runs its handler as a click does, so the mode
    // boxes keep each other consistent whoever changes them.
    for (int i = 0; i < 2; ++i)
        connect(Check2[i], &QToolButton::toggled, this, [this, i] { Check2_Click(i); });
    connect(Check1, &QToolButton::toggled, this, [this] { Check1_Click(); });
    connect(Check4, &QToolButton::toggled, this, [this] { Check4_Click(); });
    connect(Check5, &QToolButton::toggled, this, [this] { Check5_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(Option3[i], &QToolButton::clicked, this, [this, i] { Option3_Click(i); });
}

void frmEditor::Option1_Click(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(Option1.size()) || Option1[Index] == nullptr)
        return;
    Option1[Index]->setChecked(true);
    NoteContainerPbx->setFocus();
    score.SelectedNoteId = static_cast<std::int16_t>(Index);
}

// At most one accidental: checking one box unchecks the other.  Only a box
// that became checked acts, so the partner's own handler cannot undo the click.
void frmEditor::Check2_Click(int Index)
{
    if (Index < 0 || Index > 1 || !Check2[Index]->isChecked())
        return;
    Check2[1 - Index]->setChecked(false);
}

void frmEditor::Check1_Click()
{
    if (Check1->isChecked()) {
        Check4->setChecked(false);
        Check5->setChecked(false);
        installCanvasCursor(cursorfiles::Select);
    } else {
        installCanvasCursor(cursorfiles::AnimatedDrawing);
    }
}

void frmEditor::Check4_Click()
{
    if (Check4->isChecked()) {
        Check1->setChecked(false);
        Check5->setChecked(false);
        installCanvasCursor(cursorfiles::InsertGap);
    } else {
        installCanvasCursor(cursorfiles::InsertGapOff);
        DisplayPentagramNotes(true); // the gap marker goes with the mode
    }
}

void frmEditor::Check5_Click()
{
    if (Check5->isChecked()) {
        Check1->setChecked(false);
        Check4->setChecked(false);
        installCanvasCursor(cursorfiles::Eraser);
    } else {
        installCanvasCursor(drawingCursorFile());
        DisplayPentagramNotes(true); // the column mark goes with the mode
    }
}

void frmEditor::Option3_Click(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    Option3[Index]->setChecked(true);
    installCanvasCursor(Index == 0 ? cursorfiles::Pencil : cursorfiles::AnimatedDrawing);
}

} // namespace notivo
