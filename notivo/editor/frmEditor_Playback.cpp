#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "notivo/editor/EditorWiring.h"
#include "notivo/editor/PlaybackEngine.h"
#include "notivo/editor/TransportFaces.h"
#include "notivo/editor/frmEditor.h"
#include "platform/cursors/ClassCursors.h"
#include "platform/raster/PictureBox.h"
#include "platform/raster/RatioPicture.h"

namespace notivo {
namespace {

// The window side of a run: sound through the editor's device, the label,
// the score's scroll bar, the play line on the canvas and the button face.
class EditorPlaybackOutput : public PlaybackOutput {
public:
    explicit EditorPlaybackOutput(frmEditor& editor) : e_(editor) {}

    void NoteOn(int v, NoteHolder holder) override { e_.NoteOn(v, holder); }
    void NoteOff(int v, NoteHolder holder) override { e_.NoteOff(v, holder); }
    void showNames(const QString& names) override { e_.Label3->setText(names); }
    int scrollValue() const override { return e_.HScroll1->value(); }
    int scrollMaximum() const override { return e_.HScroll1->maximum(); }
    void setScrollValue(int value) override { e_.HScroll1->setValue(value); }
    int tempoValue() const override { return e_.HScroll2->value(); }
    void drawPlayLine(int x) override
    {
        e_.DisplayPentagramNotes(false);
        e_.NoteContainerPbx->line(x, 0, x, 500, Qt::black);
    }
    void repaintCanvas() override { e_.NoteContainerPbx->refresh(); }
    // The play triangle and the pause bars of the symbol font.
    void showPlayFace(bool pauseBars) override { e_.Command5->setText(pauseBars ? QStringLiteral(";") : QStringLiteral("4")); }

private:
    frmEditor& e_;
};

void buildEngine(frmEditor& e)
{
    auto output = std::make_shared<EditorPlaybackOutput>(e);
    auto clock = e.PlaybackTiming;
    // The engine keeps its output and clock alive for as long as it lives.
    e.Playback = std::shared_ptr<PlaybackEngine>(new PlaybackEngine(e.score, *output, *clock),
                                                 [output, clock](PlaybackEngine* engine) { delete engine; });
}

} // namespace

void connectPlayback(frmEditor& e)
{
    e.PlaybackTiming = std::make_shared<WindowScheduler>();
    buildEngine(e);
    QObject::connect(e.Command5, &QPushButton::clicked, &e, [&e] { e.Command5_Click(); });
    QObject::connect(e.Command1, &QPushButton::clicked, &e, [&e] { e.Command1_Click(); });
    QObject::connect(e.Command2, &QPushButton::clicked, &e, [&e] { e.Command2_Click(); });
    QObject::connect(e.Picture6, &platform::PictureBox::mouseDown, &e,
                     [&e](Qt::MouseButton button, Qt::MouseButtons, Qt::KeyboardModifiers shift, double x, double y) {
                         e.Picture6_MouseDown(buttonCode(button), shiftCode(shift), x, y);
                     });
    QObject::connect(e.Picture6, &platform::PictureBox::mouseMove, &e,
                     [&e](Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y) {
                         e.Picture6_MouseMove(buttonCode(buttons), shiftCode(shift), x, y);
                     });
    e.Command2->setIcon(platform::raster::iconForRatio(QStringLiteral(":/images/palette_step.png"),
                                                       e.Command2->devicePixelRatio()));
    auto* faces = new TransportFaceStyle;
    faces->setParent(&e);
    e.Command5->setStyle(faces);
    e.Command1->setStyle(faces);
}

void frmEditor::setPlaybackClock(std::shared_ptr<Scheduler> clock)
{
    if (!clock || Playing())
        return;
    // A preview or a step still sounding ends now, not never.
    PlaybackTiming->finishNow();
    PlaybackTiming = std::move(clock);
    buildEngine(*this);
}

void frmEditor::Command5_Click() { Playback->Command5_Click(); }

void frmEditor::Command1_Click() { Playback->Command1_Click(); }

void frmEditor::Command2_Click() { Playback->Command2_Click(); }

void frmEditor::Picture6_MouseDown(int /*Button*/, int /*Shift*/, double X, double /*Y*/)
{
    Playback->Picture6_MouseDown(X);
}

void frmEditor::Picture6_MouseMove(int Button, int Shift, double X, double Y)
{
    // Off the staff: the canvas gets the normal cursor, and the drawing
    // cursor is loaded again when the pointer comes back over a cell.
    platform::cursors::setClassCursorOf(NoteContainerPbx, CursorTable[0]);
    CanvasCursorState = 1;
    if (Button == 1)
        Picture6_MouseDown(Button, Shift, X, Y);
}

bool frmEditor::Playing() const { return Playback && Playback->Playing(); }

void frmEditor::ShutdownPlayback()
{
    if (Playback)
        Playback->shutdown();
    if (PlaybackTiming)
        PlaybackTiming->cancelAll();
}

} // namespace notivo
