#pragma once
#include <QString>
#include <chrono>
#include <optional>
#include <vector>

#include "notivo/editor/EditorMidi.h"
#include "notivo/editor/Scheduler.h"
#include "notivo/score/PassRules.h"
#include "notivo/score/ScoreModel.h"

namespace notivo {

// Everything a run does outside the score: sound, the note-name label, the
// score's scroll bar, the play line on the canvas and the Play/Pause face.
// The editor window implements it; tests record it.
class PlaybackOutput {
public:
    virtual ~PlaybackOutput() = default;
    // Inverted pitch values, as FixNotes gives them; `holder` is the timeline
    // of sound (the run or the steps) that strikes or releases the note.
    virtual void NoteOn(int v, NoteHolder holder) = 0;
    virtual void NoteOff(int v, NoteHolder holder) = 0;
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

// The play/step/stop engine of the editor.  A run and the sound of Step or
// the position strip are two timelines of continuations on the scheduler:
// they interleave with each other and with every other handler, and each
// releases only its own notes.  Pause and Stop are requests that the run
// reads once per pass, after the pass has been drawn.  Each pass ends at an
// absolute deadline, the previous deadline plus the pass's nominal length,
// so drawing and MIDI calls neither stretch the tempo nor add up.
class PlaybackEngine {
public:
    PlaybackEngine(Score& score, PlaybackOutput& output, Scheduler& scheduler);
    ~PlaybackEngine();
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // Starts a run at the play position, or asks the run going on to pause.
    void togglePlay();
    // Asks the run going on to end and rewind to column 1.
    void stop();
    // Sounds the column after the play position for StepMilliseconds.
    void step();
    // Moves the play position to the window column under x on the position
    // strip and sounds it, unless it is the column sounded last.
    void soundStripAt(double x);

    // The program is closing: every key is released now, and nothing of a
    // run or a step in progress sounds or draws again.
    void shutdown();

    bool Playing() const { return playing_; }
    bool PauseRequest() const { return pauseRequest_; }
    bool StopRequest() const { return stopRequest_; }
    int PlayPosition() const { return playPosition_; }
    int StepColumn() const { return stepColumn_; }
    int LastStepColumn() const { return lastStepColumn_; }
    SteadyClock::time_point PlayStartTick() const { return playStartTick_; }

    // When a pass starts later than this after its deadline (the machine was
    // held up), the run carries on from the late wake-up instead of catching
    // up; shorter delays are paid back over the following passes.
    static constexpr std::chrono::milliseconds HeldUpTolerance{100};

private:
    void startPass();
    void endPass();
    void endRun();
    void send(const std::vector<PassNote>& notes);
    void releaseAllNotes(NoteHolder holder);
    // Step and strip: sounds the notes of `column` for StepMilliseconds with
    // the line at lineX; `shownColumn` becomes LastStepColumn.
    void soundColumn(int column, int lineX, int shownColumn);

    Score& score_;
    PlaybackOutput& out_;
    Scheduler& scheduler_;
    const NoteHolder runHolder_ = newNoteHolder();
    const NoteHolder stepHolder_ = newNoteHolder();

    bool playing_ = false;
    bool pauseRequest_ = false;
    bool stopRequest_ = false;
    bool shutDown_ = false;
    int playPosition_ = 0;
    int stepColumn_ = 0;
    int lastStepColumn_ = 0;
    SteadyClock::time_point playStartTick_{};

    std::optional<PassRules> run_;
    SteadyClock::time_point deadline_{}; // where the pass under way ends on the score's time line
    Scheduler::Ticket stepEnd_ = 0;      // the pending end of the column Step or the strip sounds
};

} // namespace notivo
