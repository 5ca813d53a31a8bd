#include <QToolButton>

#include "notivo/editor/EditorWiring.h"
#include "notivo/editor/frmEditor.h"
#include "platform/raster/PictureBox.h"
#include "platform/raster/RatioPicture.h"

namespace notivo {
namespace {

// Cursor files of the canvas for each mode (program folder).
const QString SelectCursor = QStringLiteral("Selection1.cur");
const QString DrawingCursorAnimated = QStringLiteral("Animated.ani");
const QString DrawingCursorPencil = QStringLiteral("pencil.cur");
const QString InsertGapCursor = QStringLiteral("RurUzezize/RurUzezize Alternate2.ani");
const QString InsertGapOffCursor = QStringLiteral("RurUzezize/Animated.ani");
const QString DeleteCursor = QStringLiteral("Erace.cur");

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

void frmEditor::connectEditingHandlers()
{
    assignControlTips(*this);
    connectPalette(*this);
    connectStaffMouse(*this);
    connectPlayback(*this);
    connectTimer(*this);
    connectShortcuts(*this);
}

void connectPalette(frmEditor& e)
{
    for (int id : NoteIds) {
        setPicture(e.Option1[id], QString::number(id));
        QObject::connect(e.Option1[id], &QToolButton::clicked, &e, [&e, id] { e.Option1_Click(id); });
    }
    setPicture(e.Check2[0], QStringLiteral("sharp"));
    setPicture(e.Check2[1], QStringLiteral("flat"));
    setPicture(e.Check1, QStringLiteral("select"));
    setPicture(e.Check4, QStringLiteral("gap"));
    setPicture(e.Check5, QStringLiteral("delete"));
    setPicture(e.Option3[0], QStringLiteral("pencil"));
    setPicture(e.Option3[1], QStringLiteral("animated"));

    // A box changed from code runs its handler as a click does, so the mode
    // boxes keep each other consistent whoever changes them.
    for (int i = 0; i < 2; ++i)
        QObject::connect(e.Check2[i], &QToolButton::toggled, &e, [&e, i] { e.Check2_Click(i); });
    QObject::connect(e.Check1, &QToolButton::toggled, &e, [&e] { e.Check1_Click(); });
    QObject::connect(e.Check4, &QToolButton::toggled, &e, [&e] { e.Check4_Click(); });
    QObject::connect(e.Check5, &QToolButton::toggled, &e, [&e] { e.Check5_Click(); });
    for (int i = 0; i < 2; ++i)
        QObject::connect(e.Option3[i], &QToolButton::clicked, &e, [&e, i] { e.Option3_Click(i); });
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
        installCanvasCursor(SelectCursor);
    } else {
        installCanvasCursor(DrawingCursorAnimated);
    }
}

void frmEditor::Check4_Click()
{
    if (Check4->isChecked()) {
        Check1->setChecked(false);
        Check5->setChecked(false);
        installCanvasCursor(InsertGapCursor);
    } else {
        installCanvasCursor(InsertGapOffCursor);
        DisplayPentagramNotes(true); // the gap marker goes with the mode
    }
}

void frmEditor::Check5_Click()
{
    if (Check5->isChecked()) {
        Check1->setChecked(false);
        Check4->setChecked(false);
        installCanvasCursor(DeleteCursor);
    } else {
        installCanvasCursor(Option3[0]->isChecked() ? DrawingCursorPencil : DrawingCursorAnimated);
        DisplayPentagramNotes(true); // the column mark goes with the mode
    }
}

void frmEditor::Option3_Click(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    Option3[Index]->setChecked(true);
    installCanvasCursor(Index == 0 ? DrawingCursorPencil : DrawingCursorAnimated);
}

} // namespace notivo
