#include "notivo/editor/PlaybackEngine.h"

#include <algorithm>

#include "notivo/score/NotePitch.h"
#include "notivo/staff/StaffGeometry.h"

namespace notivo {

using std::chrono::milliseconds;

PlaybackEngine::PlaybackEngine(Score& score, PlaybackOutput& output, Scheduler& scheduler)
    : score_(score), out_(output), scheduler_(scheduler)
{
}

PlaybackEngine::~PlaybackEngine() { scheduler_.cancelOwnedBy(this); }

void PlaybackEngine::togglePlay()
{
    if (shutDown_)
        return;
    playStartTick_ = scheduler_.now();
    if (playing_) {
        // Every click during a run asks for the pause: a second click before
        // the pass ends must not cancel the first and leave a run that the
        // button can no longer pause.
        pauseRequest_ = true;
        out_.showPlayFace(false);
        return;
    }
    out_.showPlayFace(true);
    pauseRequest_ = false;
    playing_ = true;
    if (playPosition_ == 0)
        playPosition_ = 1;
    // The tempo is read once per Play; moving the bar during a run counts from the next Play.
    run_.emplace(score_, playPosition_, score_.ColumnCount,
                 unitMilliseconds(std::clamp(out_.tempoValue(), 0, TempoMaximum)));
    deadline_ = scheduler_.now();
    startPass();
}

void PlaybackEngine::stop()
{
    // A Stop while nothing plays leaves no trace (it would otherwise rewind a later pause).
    if (!playing_)
        return;
    pauseRequest_ = true;
    stopRequest_ = true;
}

void PlaybackEngine::startPass()
{
    if (run_->finished()) {
        // Reaching the end, or finding nothing to play from here, starts the next run at column 1.
        playPosition_ = 1;
        endRun();
        return;
    }
    const PassStart start = run_->startPass();
    send(start.notes);
    out_.showNames(start.names);

    // `deadline_` runs on the score's own time line; a pass that starts a
    // little late is shortened to catch up, but never below half its
    // length, so late notes are not rushed together.
    const SteadyClock::time_point now = scheduler_.now();
    if (now - deadline_ > HeldUpTolerance)
        deadline_ = now;
    deadline_ += milliseconds(start.lengthMs);
    const SteadyClock::time_point wakeUp = std::max(deadline_, now + milliseconds(start.lengthMs) / 2);
    scheduler_.at(wakeUp, [this] { endPass(); }, this);
}

void PlaybackEngine::endPass()
{
    const PassEnd end = run_->endPass();
    send(end.notes);
    if (const auto scroll = staff::followScroll(end.passedColumn, staff::RunFollowColumn, out_.scrollMaximum()))
        out_.setScrollValue(*scroll);
    out_.drawPlayLine(staff::lineAfterColumn(end.lineColumn - out_.scrollValue()));
    out_.repaintCanvas();

    if (pauseRequest_) {
        pauseRequest_ = false;
        if (stopRequest_) {
            playPosition_ = 1;
            stopRequest_ = false;
        } else {
            // A pause after the last column has finished starts the next Play from the top.
            playPosition_ = run_->finished() ? 1 : run_->column();
        }
        endRun();
        return;
    }
    startPass();
}

void PlaybackEngine::send(const std::vector<PassNote>& notes)
{
    for (const PassNote& n : notes) {
        if (n.on)
            out_.NoteOn(n.value, runHolder_);
        else
            out_.NoteOff(n.value, runHolder_);
    }
}

void PlaybackEngine::endRun()
{
    pauseRequest_ = false;
    stopRequest_ = false;
    releaseAllNotes(runHolder_);
    out_.setScrollValue(0);
    playing_ = false;
    run_.reset();
    out_.showPlayFace(false);
}

void PlaybackEngine::releaseAllNotes(NoteHolder holder)
{
    for (int v = LowestPlayedValue; v <= HighestPlayedValue; ++v)
        out_.NoteOff(v, holder);
}

void PlaybackEngine::step()
{
    if (shutDown_)
        return;
    stepColumn_ = playPosition_ + 1;
    if (const auto scroll = staff::followScroll(stepColumn_, staff::StepFollowColumn, out_.scrollMaximum()))
        out_.setScrollValue(*scroll);
    // Unlike the strip, Step does not skip a column equal to the last one
    // sounded: after a run has rewound the position that would make Step
    // dead until the position is moved some other way.
    if (stepColumn_ < 1)
        return;
    ++playPosition_;
    if (lastStepColumn_ >= score_.ColumnCount) {
        playPosition_ = 1;
        stepColumn_ = 1;
    }
    soundColumn(stepColumn_, staff::lineThroughColumn(stepColumn_ - out_.scrollValue()), stepColumn_);
}

void PlaybackEngine::soundStripAt(double x)
{
    if (shutDown_)
        return;
    const int w = staff::stripColumnAt(x);
    if (w == lastStepColumn_ || w < 1)
        return;
    const int s = out_.scrollValue();
    playPosition_ = w + s;
    soundColumn(w + s, staff::lineThroughColumn(w), w);
}

void PlaybackEngine::soundColumn(int column, int lineX, int shownColumn)
{
    // A new column takes the steps' sound over: the one sounding ends now
    // (the release below) and its own end would cut the new one short.
    scheduler_.cancel(stepEnd_);
    out_.drawPlayLine(lineX);
    releaseAllNotes(stepHolder_);
    QString names;
    for (int r = 1; r <= PlayedPositions; ++r) {
        const int id = score_.ScoreNotes.get(r, column);
        if (id > 0 && id < NoteId::QuarterPause) {
            const std::uint8_t accidental = score_.ScoreAccidentals.get(r, column);
            out_.NoteOn(FixNotes(r, accidental), stepHolder_);
            names += NoteTip(r, accidental, false) + QLatin1Char(' ');
        }
    }
    out_.showNames(names);
    lastStepColumn_ = shownColumn;
    stepEnd_ = scheduler_.after(milliseconds(StepMilliseconds), [this] {
        stepEnd_ = 0;
        releaseAllNotes(stepHolder_);
        out_.repaintCanvas();
    }, this);
}

void PlaybackEngine::shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    scheduler_.cancelOwnedBy(this);
    stepEnd_ = 0;
    run_.reset();
    playing_ = false;
    pauseRequest_ = false;
    stopRequest_ = false;
    // Every key, not only the staff's range: a preview of a note placed
    // below the staff may be sounding too.
    for (int v = 0; v <= 127; ++v)
        out_.NoteOff(v, EveryHolder);
}

} // namespace notivo
