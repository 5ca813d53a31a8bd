#pragma once
#include <QPoint>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "notivo/editor/BusyAnimation.h"
#include "notivo/editor/EditorMidi.h"
#include "notivo/editor/EditorPlaybackOutput.h"
#include "notivo/editor/EditorServices.h"
#include "notivo/editor/PlaybackEngine.h"
#include "notivo/score/ScoreHistory.h"
#include "notivo/score/ScoreModel.h"
#include "platform/cursors/CursorFile.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;
class QToolButton;

namespace platform { class PictureBox; }

namespace notivo {

class DigitalCounter;
class Tooltip;
class XPTitlebar;
class XPTitleButton;

// The one main window of the score editor.  Its controls keep their
// designer names and, with the handlers of their events, are its interface;
// everything it keeps besides is its own.  The score is the caller's.
class frmEditor : public QWidget {
    Q_OBJECT
public:
    explicit frmEditor(Score& score, EditorServices services = {}, QWidget* parent = nullptr);
    ~frmEditor() override;

    // ---- Controls, at their designer names ----------------------------------
    XPTitlebar* XPTitlebar1 = nullptr;
    QLabel* Label5 = nullptr;                       // title "Tavro qLex Scrivel"
    XPTitleButton* XPTitleButton1 = nullptr;        // minimise
    XPTitleButton* XPTitleButton2 = nullptr;        // close (File Exit)
    XPTitleButton* XPTitleButton3 = nullptr;        // "?"
    std::array<QPushButton*, 4> MenusController{};  // "File", "Edit", "Device", "Help"
    QComboBox* Combo1 = nullptr;                    // instrument list (element 0 of its array)
    QPushButton* Command5 = nullptr;                // Play/Pause
    QPushButton* Command1 = nullptr;                // Stop
    QPushButton* Command2 = nullptr;                // Step
    QLabel* Label1 = nullptr;                       // "Tempo"
    QScrollBar* HScroll2 = nullptr;                 // tempo 0..180
    QWidget* Picture4 = nullptr;                    // note palette strip
    std::array<QToolButton*, 12> Option1{};         // palette, indices 1..5, 10, 11 (others null)
    std::array<QToolButton*, 2> Check2{};           // "Sharp", "Flat"
    QToolButton* Check1 = nullptr;                  // "Select"
    QToolButton* Check4 = nullptr;                  // "Insert Gap"
    QToolButton* Check5 = nullptr;                  // "Delete a gap/note"
    platform::PictureBox* Picture6 = nullptr;       // position strip
    QFrame* Picture10 = nullptr;                    // frame of the canvas
    platform::PictureBox* NoteContainerPbx = nullptr; // staff canvas 523 x 177
    QScrollBar* HScroll1 = nullptr;                 // score scroll 0..450
    QLabel* Label2 = nullptr;                       // "Time Elapsed"
    platform::PictureBox* Picture11 = nullptr;      // elapsed-time display 59 x 25
    platform::PictureBox* Picture12 = nullptr;      // hidden, the digit sheet
    QGroupBox* Frame1 = nullptr;                    // cursor options
    QCheckBox* Check3 = nullptr;                    // "Enable Pencil cursors"
    std::array<QToolButton*, 2> Option3{};          // 0 pencil, 1 animated drawing cursor
    QLabel* Label3 = nullptr;                       // names of the notes under the pointer / sounding
    platform::PictureBox* Picture5 = nullptr;       // busy animation
    platform::PictureBox* SelBox = nullptr;         // hidden, colour source of the selection band
    QTimer* Timer2 = nullptr;                       // 30 ms tick

    QMenu* mnuFile = nullptr;
    QAction* mnuNewItm = nullptr;
    QAction* mnuOpenItm = nullptr;
    QAction* mnuSaveItm = nullptr;
    QAction* mnuSaveAsItm = nullptr;     // hidden
    QMenu* mnuRecentItm = nullptr;       // hidden submenu "1." .. "5."
    QAction* mnuPrintItm = nullptr;
    QAction* mnuPrintPreviewItm = nullptr;
    QAction* mnuExitItm = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuCutItm = nullptr;        // disabled
    QAction* mnuCopyItm = nullptr;       // disabled
    QAction* mnuPasteItm = nullptr;      // disabled
    QAction* mnuDeleteItm = nullptr;
    QAction* mnuMoveUpItm = nullptr;
    QAction* mnuMoveDownItm = nullptr;
    QMenu* mnuDevice = nullptr;          // "Midi Device"
    std::vector<QAction*> Device;        // 0 the mapper, i >= 1 output device i - 1
    QMenu* MnuHelp = nullptr;
    QAction* mnuAboutItm = nullptr;

    // ---- Start-up and tear-down -------------------------------------------
    // Returns false when the program has to end (no MIDI device could be
    // opened); the services' endProgram has been called then.
    bool Form_Load();
    // Cursors back and freed, Timer2 off, the MIDI device closed.  Runs once.
    void Form_Unload();
    void ShapeControl();
    void CoolTips();

    // ---- MIDI --------------------------------------------------------------
    void NoteOn(int v, NoteHolder holder);
    void NoteOff(int v, NoteHolder holder);
    void SetInstrument(int p);
    void Device_Click(int Index);
    void Combo1_Click(int Index);

    // ---- View ----------------------------------------------------------------
    // Redraws the canvas from the score at the scroll position of HScroll1.
    void DisplayPentagramNotes(bool RefreshBox = false);
    void HScroll1_Change();

    // ---- Menu bar and commands -------------------------------------------------
    void MenusController_MouseDown(int Index);
    void MenusController_MouseUp(int Index);
    void mnuNewItm_Click();
    void mnuOpenItm_Click();
    // Replaces the score with the file at `path` (File Open once the file is
    // chosen, and a file named on the command line).
    void openScoreFile(const QString& path);
    void mnuSaveItm_Click();
    void mnuPrintItm_Click();
    void mnuPrintPreviewItm_Click();
    void mnuExitItm_Click();
    void mnuDeleteItm_Click();
    void mnuMoveUpItm_Click();
    void mnuMoveDownItm_Click();
    void mnuAboutItm_Click();
    // Undo and redo of every change to the score (keys only: the Edit menu
    // keeps its items).  A press on the staff and its drag make one step.
    void EditUndo();
    void EditRedo();

    // ---- Caption buttons -------------------------------------------------------
    void XPTitleButton3_DrawPic();
    void XPTitleButton3_MouseDown();
    void XPTitleButton3_MouseUp();
    void XPTitleButton3_Click();
    void Label5_MouseDown(const QPoint& globalPos);

    // ---- Staff mouse editing (Button: 1 left, 2 right, 4 middle, added up) -----
    void NoteContainerPbx_MouseDown(int Button, int Shift, double X, double Y);
    void NoteContainerPbx_MouseMove(int Button, int Shift, double X, double Y);
    void NoteContainerPbx_MouseUp(int Button, int Shift, double X, double Y);

    // ---- Palette and edit modes (Check5 "Delete a gap/note" deletes the column under the pointer)
    void Option1_Click(int Index);
    void Check2_Click(int Index);
    void Check1_Click();
    void Check4_Click();
    void Check5_Click();
    void Option3_Click(int Index);

    // ---- Playback: Play/Pause, Stop, Step and the position strip ---------------
    void Command5_Click();
    void Command1_Click();
    void Command2_Click();
    void Picture6_MouseDown(int Button, int Shift, double X, double Y);
    void Picture6_MouseMove(int Button, int Shift, double X, double Y);

    // ---- Elapsed time and the busy animation -------------------------------------
    void Timer2_Timer();
    void DisplayDigital(const QString& Value0, const QString& Value1, const QString& Value2, int CColor);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tests read the window's own state through it (and arrange a little of it).
    friend class EditorProbe;

    // Building the window.
    void createControls();
    void createTitleBar();
    void placeTitleBar();
    void createMenuButtons();
    void createTransport();
    void createPalette();
    void createTimeAndCursorOptions();
    void createCanvas();
    void createMenus();
    void registerCursorClasses();
    void connectEditingHandlers();
    void assignControlTips();
    void connectPalette();
    void connectStaffMouse();
    void connectPlayback();
    void connectTimer();
    void connectShortcuts();

    // Start-up pieces.
    void drawPositionTicks();
    void loadCursors();
    // Device menu and instrument list at start-up; false when no device opens.
    bool startMidi();
    void fillInstrumentList();

    // Menus and the "?" glyph.
    void setMenuButtonLook(int index, bool pressed);
    void showMovedSelection(); // redraw, band over the selection, refresh
    // The half-transparent band over the selected columns as they are on screen.
    void HighlightSelection();
    void drawHelpGlyph(int dx, int dy);
    QString fileDialogFolder() const;
    void showHistoryChange(const std::optional<ScoreHistory::Applied>& applied);
    void StaffGestureStarted();
    void StaffGestureEnded();

    // Loads a cursor file of the program folder as the canvas's class cursor.
    void installCanvasCursor(const QString& file);
    const QString& drawingCursorFile() const;

    // Sounds `v` for `milliseconds` while everything else goes on.
    void previewNote(int v, int milliseconds);
    bool Playing() const { return Playback.Playing(); }
    // Releases every sounding note and drops every pending wait (a run, a
    // step, the previews); called before the MIDI device closes.
    void ShutdownPlayback();
    // Rests Timer2 while the window is minimized, ticks at once on restore.
    void Timer2_FollowWindowState();

    Score& score;
    EditorServices services_;

    std::array<platform::cursors::CursorHandle, 10> CursorTable{}; // 6..9 free for the editing files
    platform::cursors::CursorHandle BusyCursor;
    platform::cursors::CursorHandle CanvasCursor;   // cursor installed on the canvas
    QString CanvasCursorFile;                       // the file installed by installCanvasCursor
    std::uint8_t CanvasCursorState = 0;             // 0 drawing cursor on the canvas, 1 another one
    std::uint32_t HelpGlyphColor = 0;               // 0x00BBGGRR of the "?" glyph

    std::int32_t SelectionAnchorX = 0;      // band edge of the window column pressed last
    std::int32_t SelectionAnchorColumn = 0; // score column pressed last
    ScoreHistory History;
    bool staffGestureOpen_ = false;
    QString saveAsPath_; // what Save as proposes after a file of another program

    std::int32_t AnimFrame = 0;
    BusyAnimation BusyFrames;
    std::int32_t DigitColour = 0;
    bool FirstTickDone = false;
    std::unique_ptr<DigitalCounter> TimeCounter;    // made when first drawn
    std::vector<Tooltip*> Tips;                     // balloon tips of the controls with a title and a text

    bool loaded_ = false;
    bool unloaded_ = false;
    bool programEnded_ = false;

    // Sound: the scheduler of every wait, the device, and the engine with
    // the window side of its runs.  The engine goes first, the scheduler last.
    std::unique_ptr<Scheduler> PlaybackTiming;
    EditorMidi Midi;
    EditorPlaybackOutput playbackOutput_{*this};
    PlaybackEngine Playback;
};

} // namespace notivo
