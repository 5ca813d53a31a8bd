#include "notivo/editor/frmEditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include "notivo/editor/CursorFiles.h"
#include "notivo/staff/ScoreView.h"
#include "notivo/staff/StaffGeometry.h"
#include "notivo/widgets/DigitalCounter.h"
#include "platform/chrome/FloatingSize.h"
#include "platform/chrome/ProgramFolder.h"
#include "platform/chrome/WindowChrome.h"
#include "platform/cursors/ClassCursors.h"
#include "platform/raster/PictureBox.h"

namespace notivo {
namespace {
constexpr int ClientWidth = 538;
constexpr int ClientHeight = 318;

// Widgets that share a class cursor, as the controls of one kind share a window class.
const QString FormClass = QStringLiteral("Form");
const QString CommandButtonClass = QStringLiteral("CommandButton");
const QString ScrollBarClass = QStringLiteral("HScrollBar");
const QString CheckBoxClass = QStringLiteral("CheckBox");
const QString OptionButtonClass = QStringLiteral("OptionButton");
const QString ComboBoxClass = QStringLiteral("ComboBox");
const QString CanvasClass = QStringLiteral("Canvas");

template <typename W>
W* place(W* widget, int left, int top, int width, int height, const QString& name)
{
    widget->setGeometry(left, top, width, height);
    widget->setObjectName(name);
    return widget;
}

QToolButton* toggleButton(QWidget* parent, int left, int top, int width, int height, const QString& name,
                          const QString& caption)
{
    auto* button = place(new QToolButton(parent), left, top, width, height, name);
    button->setCheckable(true);
    button->setAccessibleName(caption);
    return button;
}

// The small print of the tempo label, the elapsed time and the cursor options.
QFont smallFont(QFont formFont)
{
    formFont.setPointSizeF(6.5);
    return formFont;
}
} // namespace

frmEditor::frmEditor(Score& theScore, EditorServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), score(theScore), services_(std::move(services)),
      PlaybackTiming(std::move(services_.scheduler)), Midi(services_.midi),
      Playback(score, playbackOutput_, *PlaybackTiming)
{
    setObjectName(QStringLiteral("frmEditor"));
    resize(ClientWidth, ClientHeight);
    // Resizable by its title bar, but floated by a tiling window manager.
    platform::chrome::floatAtOwnSize(this);
    setMouseTracking(true);

    createControls();
    createMenus();
    registerCursorClasses();
    connectEditingHandlers();
}

frmEditor::~frmEditor() = default;

void frmEditor::createControls()
{
    QFont formFont(QStringLiteral("Liberation Sans"));
    formFont.setPointSizeF(8);
    setFont(formFont);

    createTitleBar();
    createMenuButtons();
    createTransport();
    createPalette();
    createTimeAndCursorOptions();
    createCanvas();

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(30);
    Timer2->setTimerType(Qt::PreciseTimer);
}

void frmEditor::createMenuButtons()
{
    static const std::array<const char*, 4> menuCaptions = {"File", "Edit", "Device", "Help"};
    static const std::array<int, 4> menuLefts = {7, 35, 66, 110};
    static const std::array<int, 4> menuWidths = {26, 30, 42, 31};
    for (int i = 0; i < 4; ++i) {
        auto* button = place(new QPushButton(QString::fromLatin1(menuCaptions[i]), this), menuLefts[i], 31,
                             menuWidths[i], 18, QStringLiteral("MenusController_%1").arg(i));
        button->setFocusPolicy(Qt::NoFocus);
        button->installEventFilter(this);
        MenusController[i] = button;
    }
}

// The instrument list, Play/Pause, Stop, Step and the tempo bar.
void frmEditor::createTransport()
{
    Combo1 = place(new QComboBox(this), 5, 50, 147, 21, QStringLiteral("Combo1"));
    Combo1->setPlaceholderText(QStringLiteral("Acoustic Piano"));
    Combo1->setMaxVisibleItems(20);
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(0); });

    Command5 = place(new QPushButton(QStringLiteral("4"), this), 154, 48, 25, 24, QStringLiteral("Command5"));
    Command1 = place(new QPushButton(QStringLiteral(" < "), this), 179, 48, 25, 24, QStringLiteral("Command1"));
    Command2 = place(new QPushButton(this), 206, 48, 24, 24, QStringLiteral("Command2"));

    Label1 = place(new QLabel(QStringLiteral("Tempo"), this), 255, 43, 29, 10, QStringLiteral("Label1"));
    Label1->setFont(smallFont(font()));
    HScroll2 = place(new QScrollBar(Qt::Horizontal, this), 232, 54, 78, 16, QStringLiteral("HScroll2"));
    HScroll2->setRange(0, 180);
    HScroll2->setValue(110);
}

// The note values and rests, the accidentals and the edit modes.
void frmEditor::createPalette()
{
    Picture4 = place(new QWidget(this), 5, 74, 172, 25, QStringLiteral("Picture4"));
    struct PaletteEntry { int index; int left; const char* caption; };
    static const std::array<PaletteEntry, 7> paletteEntries = {{
        {1, 0, "Semiquaver"}, {2, 24, "Quaver"}, {3, 49, "Quarter"}, {4, 72, "Half"},
        {5, 96, "Whole"}, {11, 123, "Quaver Pause"}, {10, 147, "Quarter Pause"},
    }};
    for (const auto& entry : paletteEntries) {
        auto* button = toggleButton(Picture4, entry.left, 0, 25, 25, QStringLiteral("Option1_%1").arg(entry.index),
                                    QString::fromLatin1(entry.caption));
        button->setAutoExclusive(true);
        Option1[entry.index] = button;
    }
    Option1[NoteId::Quarter]->setChecked(true);

    Check2[0] = toggleButton(this, 180, 74, 25, 25, QStringLiteral("Check2_0"), QStringLiteral("Sharp"));
    Check2[1] = toggleButton(this, 205, 74, 25, 25, QStringLiteral("Check2_1"), QStringLiteral("Flat"));
    Check1 = toggleButton(this, 232, 74, 26, 25, QStringLiteral("Check1"), QStringLiteral("Select"));
    Check4 = toggleButton(this, 259, 74, 26, 25, QStringLiteral("Check4"), QStringLiteral("Insert Gap"));
    Check5 = toggleButton(this, 285, 74, 26, 25, QStringLiteral("Check5"), QStringLiteral("Delete a gap/note"));
}

// The band right of the tempo bar: elapsed time and the cursor options;
// beside the palette, the names of the notes and the busy animation.
void frmEditor::createTimeAndCursorOptions()
{
    const QFont small = smallFont(font());
    Label2 = place(new QLabel(QStringLiteral("Time Elapsed"), this), 316, 33, 62, 12, QStringLiteral("Label2"));
    Label2->setFont(small);
    Picture11 = place(new platform::PictureBox(this), 316, 46, 59, 25, QStringLiteral("Picture11"));
    Picture11->setBackColor(Qt::black);
    Picture12 = place(new platform::PictureBox(this), 0, 0, 89, 96, QStringLiteral("Picture12"));
    Picture12->hide();
    Frame1 = place(new QGroupBox(QStringLiteral("Cursors"), this), 380, 29, 153, 44, QStringLiteral("Frame1"));
    Frame1->setFont(small);
    Check3 = place(new QCheckBox(QStringLiteral("Enable Pencil cursors"), Frame1), 4, 15, 106, 22,
                   QStringLiteral("Check3"));
    QFont smaller = small;
    smaller.setPointSizeF(6);
    Check3->setFont(smaller);
    Check3->setChecked(true);
    for (int i = 0; i < 2; ++i) {
        Option3[i] = toggleButton(Frame1, 110 + 21 * i, 14, 20, 24, QStringLiteral("Option3_%1").arg(i),
                                  i == 0 ? QStringLiteral("Pencil cursor") : QStringLiteral("Animated cursor"));
        Option3[i]->setAutoExclusive(true);
    }
    Option3[1]->setChecked(true);

    Label3 = place(new QLabel(this), 316, 78, 140, 18, QStringLiteral("Label3"));
    Picture5 = place(new platform::PictureBox(this), 460, 74, 73, 26, QStringLiteral("Picture5"));
    Picture5->setBackColor(palette().color(QPalette::Window));
}

// The position strip, the staff canvas in its frame, the score's scroll bar
// and the colour source of the selection band.
void frmEditor::createCanvas()
{
    Picture6 = place(new platform::PictureBox(this), 4, 101, 530, 8, QStringLiteral("Picture6"));
    Picture6->setBackColor(palette().color(QPalette::Window));

    Picture10 = place(new QFrame(this), 5, 109, 528, 181, QStringLiteral("Picture10"));
    Picture10->setFrameShape(QFrame::Box);
    Picture10->setLineWidth(1);
    NoteContainerPbx = place(new platform::PictureBox(Picture10), 1, 1, staff::CanvasWidth, staff::CanvasHeight,
                             QStringLiteral("NoteContainerPbx"));
    NoteContainerPbx->setBackColor(Qt::white);
    NoteContainerPbx->setMouseTracking(true);

    HScroll1 = place(new QScrollBar(Qt::Horizontal, this), 5, 291, 528, 13, QStringLiteral("HScroll1"));
    HScroll1->setRange(staff::ScrollMin, staff::ScrollMax);
    HScroll1->setSingleStep(staff::ScrollSmallChange);
    HScroll1->setPageStep(staff::ScrollLargeChange);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });

    // Red 0, green 85, blue 255; never shown.
    SelBox = place(new platform::PictureBox(this), 0, 0, staff::CanvasWidth, staff::CanvasHeight,
                   QStringLiteral("SelBox"));
    SelBox->setBackColor(QColor(0, 85, 255));
    SelBox->hide();
}

void frmEditor::registerCursorClasses()
{
    using platform::cursors::registerWidget;
    registerWidget(this, FormClass);
    for (QWidget* w : {static_cast<QWidget*>(Command5), static_cast<QWidget*>(Command1), static_cast<QWidget*>(Command2)})
        registerWidget(w, CommandButtonClass);
    for (QPushButton* w : MenusController)
        registerWidget(w, CommandButtonClass);
    registerWidget(HScroll1, ScrollBarClass);
    registerWidget(HScroll2, ScrollBarClass);
    for (QWidget* w : {static_cast<QWidget*>(Check1), static_cast<QWidget*>(Check4), static_cast<QWidget*>(Check5),
                       static_cast<QWidget*>(Check2[0]), static_cast<QWidget*>(Check2[1]),
                       static_cast<QWidget*>(Check3)})
        registerWidget(w, CheckBoxClass);
    for (QToolButton* w : Option1)
        if (w)
            registerWidget(w, OptionButtonClass);
    for (QToolButton* w : Option3)
        registerWidget(w, OptionButtonClass);
    registerWidget(Combo1, ComboBoxClass);
    registerWidget(NoteContainerPbx, CanvasClass);
}

bool frmEditor::Form_Load()
{
    if (loaded_)
        return !programEnded_;
    loaded_ = true;

    CoolTips();
    // Menu-bar buttons are flat until their menu opens; the transport buttons are plain push buttons.
    Command5->setFlat(false);
    Command1->setFlat(false);
    for (int i = 0; i < 4; ++i)
        setMenuButtonLook(i, false);
    ShapeControl();
    setWindowTitle(QStringLiteral("Cantorel"));
    drawPositionTicks();
    BusyCursor = platform::cursors::loadCursorFromFile(platform::programFile(cursorfiles::Busy));
    score.SelectedNoteId = NoteId::Quarter;
    SelBox->resize(NoteContainerPbx->width() + 2, SelBox->height());
    loadCursors();
    DisplayPentagramNotes(true);
    if (!startMidi()) {
        programEnded_ = true;
        Form_Unload();
        services_.endProgram();
        return false;
    }
    DisplayDigital(QStringLiteral("0"), QStringLiteral("00"), QStringLiteral("00"), 1);
    Timer2->start();
    return true;
}

void frmEditor::drawPositionTicks()
{
    for (int i = 3; i <= 32; ++i) {
        const int x = staff::ColumnPitch * i;
        Picture6->line(x + 3, 0, x + 3, 8, QColor(160, 160, 160));
        Picture6->line(x + 5, 0, x + 5, 8, QColor(221, 221, 221));
    }
    Picture6->refresh();
}

void frmEditor::loadCursors()
{
    using platform::cursors::setCursorFromFile;
    const QString normal = platform::programFile(cursorfiles::Normal);
    CursorTable[0] = setCursorFromFile(normal, this);
    CursorTable[1] = setCursorFromFile(normal, Command5);
    CursorTable[2] = setCursorFromFile(normal, HScroll1);
    CursorTable[3] = setCursorFromFile(normal, Check1);
    CursorTable[4] = setCursorFromFile(platform::programFile(cursorfiles::Link), Option1[1]);
    CursorTable[5] = setCursorFromFile(normal, Combo1);
}

void frmEditor::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    platform::cursors::setClassCursorOf(this, CanvasCursor);
    for (int i = 0; i <= 6; ++i)
        CursorTable[i].reset();
    Timer2->stop();
    BusyCursor.reset();
    QCoreApplication::processEvents();
    ShutdownPlayback();
    Midi.close();
    hide();
}

void frmEditor::ShapeControl()
{
    using namespace platform::chrome;
    const int w = width();
    const int h = height();
    const QRegion a = roundRectRegion(1, 1, w, 28, 15, 15);
    const QRegion b = rectRegion(1, 20, w - 1, h - 1);
    setWindowShape(this, a.united(b));
}

void frmEditor::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeTitleBar();
    ShapeControl();
}

void frmEditor::mouseMoveEvent(QMouseEvent* event)
{
    // Over the bare form: the canvas gets the normal cursor back, so the
    // drawing cursor is loaded again when the pointer returns to the staff.
    if (platform::cursors::classCursor(platform::cursors::classOf(NoteContainerPbx)) != CursorTable[0])
        platform::cursors::setClassCursorOf(NoteContainerPbx, CursorTable[0]);
    CanvasCursorState = 1;
    QWidget::mouseMoveEvent(event);
}

void frmEditor::closeEvent(QCloseEvent* event)
{
    // Closed by the window system: the same as File Exit.
    if (!unloaded_)
        mnuExitItm_Click();
    event->accept();
}

void frmEditor::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange)
        Timer2_FollowWindowState();
    QWidget::changeEvent(event);
}

bool frmEditor::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 4; ++i) {
        if (watched != MenusController[i])
            continue;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            MenusController_MouseDown(i);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            MenusController_MouseUp(i);
            return true;
        }
    }
    if (watched == Label5 && event->type() == QEvent::MouseButtonPress) {
        Label5_MouseDown(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmEditor::Label5_MouseDown(const QPoint& globalPos) { platform::chrome::startWindowDrag(this, globalPos); }

void frmEditor::DisplayPentagramNotes(bool RefreshBox)
{
    staff::DisplayPentagramNotes(*NoteContainerPbx, score, HScroll1->value(), RefreshBox);
    // Without a forced repaint the new picture still shows at the next paint.
    if (!RefreshBox)
        NoteContainerPbx->update();
}

void frmEditor::HScroll1_Change() { DisplayPentagramNotes(false); }

} // namespace notivo
