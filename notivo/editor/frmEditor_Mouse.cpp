#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>

#include "notivo/editor/CursorFiles.h"
#include "notivo/editor/EventCodes.h"
#include "notivo/editor/StaffEditing.h"
#include "notivo/editor/frmEditor.h"
#include "notivo/score/NotePitch.h"
#include "notivo/staff/StaffGeometry.h"
#include "platform/chrome/ProgramFolder.h"
#include "platform/cursors/ClassCursors.h"
#include "platform/raster/CanvasScale.h"
#include "platform/raster/PictureBox.h"
#include "platform/raster/Raster.h"

namespace notivo {
namespace {

constexpr int BandAlpha = 128;             // the selection band is half transparent
constexpr int DeleteMarkAlpha = 96;
const QColor GapMarkerColour(0, 0, 255);
const QColor DeleteMarkColour(255, 0, 0);

editing::EditMode modeOf(const frmEditor& e)
{
    return editing::editMode(e.Check1->isChecked(), e.Check4->isChecked(), e.Check5->isChecked());
}

std::uint8_t accidentalOf(const frmEditor& e)
{
    return editing::paletteAccidental(e.Check2[0]->isChecked(), e.Check2[1]->isChecked());
}

// Blends `source` over the canvas columns [x, x + width) at full height,
// clipped to the canvas.
void blendColumns(QImage& canvas, int x, int width, const QImage& source, int alpha)
{
    const QSize size = platform::raster::logicalSize(canvas);
    const int x0 = std::max(x, 0);
    const int x1 = std::min(x + width, size.width());
    if (x1 <= x0)
        return;
    platform::raster::alphaBlendRect(canvas, x0, 0, x1 - x0, size.height(), source, 0, 0, x1 - x0, size.height(),
                                     alpha);
}

const QImage& deleteMarkSource(const QSize& size)
{
    static QImage red;
    if (red.size() != size) {
        red = QImage(size, QImage::Format_RGB32);
        red.fill(DeleteMarkColour);
    }
    return red;
}

} // namespace

int buttonCode(int qtButtons)
{
    int code = 0;
    if (qtButtons & Qt::LeftButton)
        code += 1;
    if (qtButtons & Qt::RightButton)
        code += 2;
    if (qtButtons & Qt::MiddleButton)
        code += 4;
    return code;
}

int shiftCode(int qtModifiers)
{
    int code = 0;
    if (qtModifiers & Qt::ShiftModifier)
        code += 1;
    if (qtModifiers & Qt::ControlModifier)
        code += 2;
    if (qtModifiers & Qt::AltModifier)
        code += 4;
    return code;
}

void frmEditor::connectStaffMouse()
{
    using platform::PictureBox;
    connect(NoteContainerPbx, &PictureBox::mouseDown, this,
            [this](Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers shift, double x, double y) {
                if (held == button)
                    StaffGestureStarted(); // the first button down: one undo step until all are up
                NoteContainerPbx_MouseDown(buttonCode(button), shiftCode(shift), x, y);
            });
    connect(NoteContainerPbx, &PictureBox::mouseMove, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y) {
                NoteContainerPbx_MouseMove(buttonCode(buttons), shiftCode(shift), x, y);
            });
    connect(NoteContainerPbx, &PictureBox::mouseUp, this,
            [this](Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers shift, double x, double y) {
                NoteContainerPbx_MouseUp(buttonCode(button), shiftCode(shift), x, y);
                if (held == Qt::NoButton)
                    StaffGestureEnded();
            });
}

void frmEditor::installCanvasCursor(const QString& file)
{
    CanvasCursor = platform::cursors::setCursorFromFile(platform::programFile(file), NoteContainerPbx);
    CanvasCursorFile = file;
}

// The drawing cursor the options choose: the pencil or the animated one.
const QString& frmEditor::drawingCursorFile() const
{
    return Option3[0]->isChecked() ? cursorfiles::Pencil : cursorfiles::AnimatedDrawing;
}

// Every button edits the same way; the press also clears the selection and
// remembers where a selection drag starts.
void frmEditor::NoteContainerPbx_MouseDown(int Button, int Shift, double X, double Y)
{
    // Recorded from before the selection is cleared, so undo brings it back.
    ScoreChange change(History, score);
    score.SelectionStart = 0;
    score.SelectionEnd = 0;
    const int r = staff::positionAt(Y);
    const int w = staff::windowColumnAt(X);
    const int s = HScroll1->value();
    SelectionAnchorX = staff::columnBandEdge(w);
    SelectionAnchorColumn = w + s;

    switch (modeOf(*this)) {
    case editing::EditMode::Normal: {
        const editing::PressEdit edit = editing::pressNormal(score, r, w, s, accidentalOf(*this));
        if (!edit.edited)
            return;
        change.done(); // before the preview: keys pressed meanwhile see the edit
        NoteContainerPbx_MouseMove(Button, Shift, X, Y);
        DisplayPentagramNotes(true);
        if (edit.preview)
            previewNote(edit.preview->v, edit.preview->milliseconds);
        return;
    }
    case editing::EditMode::InsertGap:
        if (editing::insertGap(score, editing::gapColumnAt(X) + s))
            DisplayPentagramNotes(true);
        return;
    case editing::EditMode::DeleteColumn:
        if (w >= 1 && editing::deleteColumn(score, w + s)) {
            DisplayPentagramNotes(true);
            NoteContainerPbx_MouseMove(Button, Shift, X, Y);
        }
        return;
    case editing::EditMode::Select:
        return; // the drag and the release do the work
    }
}

void frmEditor::NoteContainerPbx_MouseMove(int Button, int /*Shift*/, double X, double Y)
{
    const int scroll = editing::edgeScroll(Button == 1, X, HScroll1->value(), HScroll1->maximum());
    if (scroll != HScroll1->value())
        HScroll1->setValue(scroll);
    const int s = HScroll1->value();

    switch (modeOf(*this)) {
    case editing::EditMode::Select: {
        if (Button == 0)
            return;
        DisplayPentagramNotes(false);
        const editing::Band band = editing::selectionBand(SelectionAnchorX, X);
        blendColumns(NoteContainerPbx->image(), band.x, band.width, SelBox->image(), BandAlpha);
        NoteContainerPbx->refresh();
        return;
    }
    case editing::EditMode::InsertGap: {
        const int x = editing::gapMarkerX(editing::gapColumnAt(X));
        DisplayPentagramNotes(false);
        NoteContainerPbx->line(x, 0, x, 500, GapMarkerColour);
        NoteContainerPbx->refresh();
        return;
    }
    case editing::EditMode::DeleteColumn: {
        // The column a press would delete, tinted red.
        const int w = staff::windowColumnAt(X);
        DisplayPentagramNotes(false);
        if (w >= 1 && w + s <= score.ColumnCount) {
            QImage& canvas = NoteContainerPbx->image();
            const QImage& red = deleteMarkSource(platform::raster::logicalSize(canvas));
            blendColumns(canvas, staff::columnBandEdge(w), staff::ColumnPitch, red, DeleteMarkAlpha);
        }
        NoteContainerPbx->refresh();
        return;
    }
    case editing::EditMode::Normal:
        break;
    }

    const int r = staff::positionAt(Y);
    const QString name = NoteTip(r, accidentalOf(*this), false);
    NoteContainerPbx->setToolTip(name);
    if (!Playing())
        Label3->setText(name);
    if (!Check3->isChecked())
        return;
    const int c = staff::windowColumnAt(X) + s;
    switch (editing::cursorForCell(score, r, c, CanvasCursorState)) {
    case editing::CursorChange::Eraser:
        installCanvasCursor(cursorfiles::Eraser);
        CanvasCursorState = 1;
        break;
    case editing::CursorChange::Drawing:
        installCanvasCursor(drawingCursorFile());
        CanvasCursorState = 0;
        break;
    case editing::CursorChange::None:
        break;
    }
}

// A release ends a selection drag: the range is stored for the Edit menu and
// the Select mode is left (one drag, one selection).
void frmEditor::NoteContainerPbx_MouseUp(int /*Button*/, int /*Shift*/, double X, double /*Y*/)
{
    if (modeOf(*this) != editing::EditMode::Select)
        return;
    const int releaseColumn = staff::windowColumnAt(X) + HScroll1->value();
    const editing::SelectionRange range = editing::selectionAfterDrag(SelectionAnchorColumn, releaseColumn);
    score.SelectionStart = static_cast<std::int16_t>(range.start);
    score.SelectionEnd = static_cast<std::int16_t>(range.end);
    Check1->setChecked(false);
}

} // namespace notivo
