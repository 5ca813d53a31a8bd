#pragma once
#include <QString>
#include <chrono>
#include <vector>

#include "notivo/editor/PlaybackClock.h"
#include "notivo/score/PassRules.h"
#include "notivo/score/ScoreModel.h"

namespace notivo {

// Everything a run does outside the score: sound, the note-name label, the
// score's scroll bar, the play line on the canvas and the Play/Pause face.
// The editor window implements it; tests record it.
class PlaybackOutput {
public:
    virtual ~PlaybackOutput() = default;
    virtual void NoteOn(int v) = 0;   // inverted pitch value, as FixNotes gives it
    virtual void NoteOff(int v) = 0;
    virtual void showNames(const QString& names) = 0;      // Label3
    virtual int scrollValue() const = 0;                   // HScroll1
    virtual int scrollMaximum() const = 0;
    virtual void setScrollValue(int value) = 0;
    virtual int tempoValue() const = 0;                    // HScroll2, 0..180
    // Redraws staff and notes and draws the play line at x (no repaint yet).
    virtual void drawPlayLine(int x) = 0;
    virtual void repaintCanvas() = 0;
    // Play/Pause face: the play triangle when idle, the pause bars while a run goes.
    virtual void showPlayFace(bool pauseBars) = 0;
};

inline constexpr int StepMilliseconds = 500;     // Step and the position strip

// The play/step/stop engine of the editor.  Continuous play runs inside the
// Play click (as the whole program is single-threaded and event-driven): its
// waits run window events, so Pause, Stop, Step, the strip and edits arrive
// while it plays and are seen once per pass, after the pass has been drawn.
// Each pass ends at an absolute deadline, the previous deadline plus the
// pass's nominal length, so drawing and MIDI calls neither stretch the tempo
// nor add up.
class PlaybackEngine {
public:
    PlaybackEngine(Score& score, PlaybackOutput& output, PlaybackClock& clock);

    void Command5_Click();                 // Play/Pause
    void Command1_Click();                 // Stop
    void Command2_Click();                 // Step
    void Picture6_MouseDown(double x);     // position strip: sound the column under x

    // The program is closing: every key is released now and a run or step in
    // progress winds up at its next wake-up without further sound or drawing.
    void shutdown();

    bool Playing() const { return playing_; }
    bool PauseRequest() const { return pauseRequest_; }
    bool StopRequest() const { return stopRequest_; }
    int PlayPosition() const { return playPosition_; }
    int StepColumn() const { return stepColumn_; }
    int LastStepColumn() const { return lastStepColumn_; }
    SteadyClock::time_point PlayStartTick() const { return playStartTick_; }

    // When a pass starts later than this after its deadline (another
    // handler's wait held the run up), the run carries on from the late
    // wake-up instead of catching up; shorter delays (a busy machine) are
    // paid back over the following passes.
    static constexpr std::chrono::milliseconds HeldUpTolerance{100};

private:
    void playRun(int unitMs);
    void send(const std::vector<PassNote>& notes);
    void releaseAllNotes();
    // Step and strip: sounds the notes of `column` for StepMilliseconds with
    // the line at lineX; `shownColumn` becomes LastStepColumn.
    void soundColumn(int column, int lineX, int shownColumn);
    void endRun();
    void windUp(); // after a cut wait or a shutdown: silence, no drawing

    Score& score_;
    PlaybackOutput& out_;
    PlaybackClock& clock_;

    bool playing_ = false;
    bool pauseRequest_ = false;
    bool stopRequest_ = false;
    bool shutDown_ = false;
    int playPosition_ = 0;
    int stepColumn_ = 0;
    int lastStepColumn_ = 0;
    SteadyClock::time_point playStartTick_{};
};

} // namespace notivo
