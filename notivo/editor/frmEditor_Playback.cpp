#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "notivo/editor/EditorPlaybackOutput.h"
#include "notivo/editor/EventCodes.h"
#include "notivo/editor/TransportFaces.h"
#include "notivo/editor/frmEditor.h"
#include "platform/cursors/ClassCursors.h"
#include "platform/raster/PictureBox.h"
#include "platform/raster/RatioPicture.h"

namespace notivo {

void EditorPlaybackOutput::NoteOn(int v, NoteHolder holder) { e_.NoteOn(v, holder); }

void EditorPlaybackOutput::NoteOff(int v, NoteHolder holder) { e_.NoteOff(v, holder); }

void EditorPlaybackOutput::showNames(const QString& names) { e_.Label3->setText(names); }

int EditorPlaybackOutput::scrollValue() const { return e_.HScroll1->value(); }

int EditorPlaybackOutput::scrollMaximum() const { return e_.HScroll1->maximum(); }

void EditorPlaybackOutput::setScrollValue(int value) { e_.HScroll1->setValue(value); }

int EditorPlaybackOutput::tempoValue() const { return e_.HScroll2->value(); }

void EditorPlaybackOutput::drawPlayLine(int x)
{
    e_.DisplayPentagramNotes(false);
    e_.NoteContainerPbx->line(x, 0, x, 500, Qt::black);
}

void EditorPlaybackOutput::repaintCanvas() { e_.NoteContainerPbx->refresh(); }

// The play triangle and the pause bars of the symbol font.
void EditorPlaybackOutput::showPlayFace(bool pauseBars)
{
    e_.Command5->setText(pauseBars ? QStringLiteral(";") : QStringLiteral("4"));
}

void frmEditor::connectPlayback()
{
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Picture6, &platform::PictureBox::mouseDown, this,
            [this](Qt::MouseButton button, Qt::MouseButtons, Qt::KeyboardModifiers shift, double x, double y) {
                Picture6_MouseDown(buttonCode(button), shiftCode(shift), x, y);
            });
    connect(Picture6, &platform::PictureBox::mouseMove, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y) {
                Picture6_MouseMove(buttonCode(buttons), shiftCode(shift), x, y);
            });
    Command2->setIcon(platform::raster::iconForRatio(QStringLiteral(":/images/palette_step.png"),
                                                     Command2->devicePixelRatio()));
    auto* faces = new TransportFaceStyle;
    faces->setParent(this);
    Command5->setStyle(faces);
    Command1->setStyle(faces);
}

void frmEditor::Command5_Click() { Playback.togglePlay(); }

void frmEditor::Command1_Click() { Playback.stop(); }

void frmEditor::Command2_Click() { Playback.step(); }

void frmEditor::Picture6_MouseDown(int /*Button*/, int /*Shift*/, double X, double /*Y*/) { Playback.soundStripAt(X); }

void frmEditor::Picture6_MouseMove(int Button, int Shift, double X, double Y)
{
    // Off the staff: the canvas gets the normal cursor, and the drawing
    // cursor is loaded again when the pointer comes back over a cell.
    platform::cursors::setClassCursorOf(NoteContainerPbx, CursorTable[0]);
    CanvasCursorState = 1;
    if (Button == 1)
        Picture6_MouseDown(Button, Shift, X, Y);
}

void frmEditor::ShutdownPlayback()
{
    Playback.shutdown();
    PlaybackTiming->cancelAll();
}

} // namespace notivo
