#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

#include <array>
#include <vector>

#include "keyrig/BeatClock.h"
#include "keyrig/KeyRepeatFilter.h"
#include "keyrig/MidiBeat.h"
#include "keyrig/PerformanceRecorder.h"
#include "keyrig/PlayingKeys.h"
#include "keyrig/VBMIDI.h"

class PanelLabel;
class QAction;
class QMenu;

// The keyboard window: a small shaped panel whose keys, pads, sliders and
// buttons are drawn over a stretched background.  The rules live in
// PlayingKeys, MidiBeat, SliderMath, ConfigFile and VBMIDI; this class turns
// events into calls, draws what they decide and shows what failed.
class frmPiano : public QWidget {
    Q_OBJECT
public:
    explicit frmPiano(QWidget* parent = nullptr);
    ~frmPiano() override;

    // Handlers, named after their controls.
    void Form_KeyDown(int keyCode);
    void Form_KeyUp(int keyCode);
    void lblBank_MouseDown(int index, Qt::MouseButton button);
    void lblBank_MouseUp(int index);
    void lblBeatCtrl_Click(int index);
    void lblVolume_MouseDown(double xTwips);
    void lblVolume_MouseMove(double xTwips);
    void lblVolume_MouseUp();
    void lblRate_MouseDown(double yTwips);
    void lblRate_MouseMove(double yTwips);
    void lblRate_MouseUp();
    void lblDrums_Click(int index);
    void lblExit_Click();
    void mnuPiano_Click(int index);
    void mnuDrum_Click(int index);
    void mnuBeat_Click(int index);
    void mnuDevice_Click(int index);
    void mnuBaseKey_Click(int index);
    void tmrBeat_Timer();

    // F12: starts a take, or ends it and writes it to the music folder; after
    // a failed write it tries the write again.
    void toggleRecording();
    // A logout or Ctrl+C: nobody is there to answer, so the window closes
    // even when the recording cannot be written.
    void endingUnattended() { unattended_ = true; }

    // State the panel shows, for whoever needs to look.
    const std::array<int, 4>& banks() const { return Banks; }
    int currentInstrument() const { return CurrentInstrument; }
    int keyVelocity() const { return keys_.KeyVelocity; }
    int drumNote(int pad) const { return keys_.DrumNotes[pad]; }
    int baseKey() const { return keys_.BaseKey; }
    int beatInterval() const { return tmrBeat.interval(); }
    const MidiBeat::BeatEngine& beat() const { return beat_; }
    QColor keyColour(int index) const { return keyColours_[index]; }
    QColor padColour(int pad) const { return padColours_[pad]; }
    QRect keyRect(int index) const;
    QRect padRect(int pad) const;
    QMenu* menu(int entry) const { return mnuMain[entry]; }
    const PerformanceRecorder& recorder() const { return recorder_; }
    PerformanceRecorder& recorder() { return recorder_; }
    const VBMIDI& midi() const { return midi_; }
    static QRect recordingDotRect();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void createControls();
    PanelLabel* panelLabel(const char* name, const QRect& geometry);
    void createReadouts();
    void createCornerButtons();
    void createBankButtons();
    void createVolumeSlider();
    void createBeatControls();
    void createRateSlider();
    void createDrumPads();
    void connectPopUpLabels();
    void createMenus();
    void fillDeviceMenu();
    void fillNameMenus();
    // Shows a pop-up under the mouse and returns when it has closed.
    void popUp(int entry);
    // Lets go of every held key and pad: their key-ups go elsewhere now.
    void releaseKeys();
    void showKey(int index, bool down);
    void showPad(int pad, bool down);
    // Writes the finished take and lets it go; when it cannot, keeps it and
    // returns what went wrong.
    QString writeRecording();
    // The same, saying why in a message box.
    void saveRecording();
    // Ends and writes a take when the window closes; false when it could not
    // be written and the window should stay.
    bool finishRecordingForExit();

    // The recorder hears the port until the port's last note-off.
    PerformanceRecorder recorder_;
    VBMIDI midi_;
    PlayingKeys keys_{midi_};
    KeyRepeatFilter repeats_;
    MidiBeat::BeatEngine beat_{midi_};
    BeatClock tmrBeat;

    std::array<int, 4> Banks{};
    int CurrentInstrument = 0;
    int SelectedPad = 0;
    QString PianoMenuTag;     // bank being programmed, "" otherwise
    bool VolumeDragging = false;
    bool RateDragging = false;
    int RateBase = 0;         // base interval of the current style
    bool unloaded_ = false;
    bool unattended_ = false;
    bool exitWarned_ = false; // told once that closing loses the unwritten take

    QImage background_;
    std::array<QColor, 36> keyColours_;
    std::array<QColor, 12> padColours_;

    PanelLabel* lblInstrument = nullptr;
    PanelLabel* lblBeat = nullptr;
    PanelLabel* lblBaseKey = nullptr;
    PanelLabel* lblDevice = nullptr;
    PanelLabel* lblExit = nullptr;
    std::array<PanelLabel*, 4> lblBank{};
    std::array<PanelLabel*, 5> lblBeatCtrl{};
    std::array<PanelLabel*, 12> lblDrums{};
    PanelLabel* lblVolume = nullptr;
    PanelLabel* lblVolumePtr = nullptr;
    PanelLabel* Label2 = nullptr;
    PanelLabel* lblRate = nullptr;
    PanelLabel* lblRatePtr = nullptr;
    PanelLabel* Label1 = nullptr;

    std::array<QMenu*, 5> mnuMain{};
    std::vector<QAction*> mnuPiano, mnuDrum, mnuBeat, mnuDevice, mnuBaseKey;
};
