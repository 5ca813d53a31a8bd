#pragma once
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "notivo/editor/EditorServices.h"
#include "notivo/editor/PlaybackEngine.h"

namespace notivo::playtest {

// A scheduler on a fake clock: run() lets the pending waits pass, each at its
// deadline, taking no real time.  Actions put at a time stand for the user:
// they run at that time between the continuations (at a tie, in the order
// they were scheduled).
class FakeClock : public Scheduler {
public:
    SteadyClock::time_point start = SteadyClock::time_point{} + std::chrono::hours(1);
    SteadyClock::time_point t = start;
    std::vector<long long> waits; // length of every wait, in ms
    std::function<void()> onWait; // runs as each wait begins

    SteadyClock::time_point now() const override { return t; }
    Ticket at(SteadyClock::time_point deadline, Continuation then, const void* owner = nullptr) override
    {
        waits.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - t).count());
        if (onWait)
            onWait();
        return Scheduler::at(deadline, std::move(then), owner);
    }
    void at(long long msSinceStart, std::function<void()> action)
    {
        Scheduler::at(start + std::chrono::milliseconds(msSinceStart), std::move(action));
    }
    // Everything pending, and what it schedules, up to `untilMs` since start
    // (all of it when negative).  An action may call run() again: the outer
    // call goes on with what is pending.
    void run(long long untilMs = -1)
    {
        if (running_)
            return;
        running_ = true;
        const auto until = start + std::chrono::milliseconds(untilMs);
        while (const auto next = nextDeadline()) {
            if (untilMs >= 0 && *next > until)
                break;
            if (*next > t)
                t = *next;
            runDue();
        }
        if (untilMs >= 0 && until > t)
            t = until;
        running_ = false;
    }
    long long ms() const { return std::chrono::duration_cast<std::chrono::milliseconds>(t - start).count(); }
    // Counts from now on, as if the clock had just been made (set-up done).
    void startHere()
    {
        start = t;
        waits.clear();
    }

protected:
    void wakeAt(std::optional<SteadyClock::time_point>) override {}

private:
    bool running_ = false;
};

// Gives an editor made with `services` a fake clock for its waits; the
// editor owns it, the test drives it through the pointer returned.
inline FakeClock* fakeClockFor(EditorServices& services)
{
    auto clock = std::make_unique<FakeClock>();
    FakeClock* driven = clock.get();
    services.scheduler = std::move(clock);
    return driven;
}

struct NoteEvent {
    long long ms;
    bool on;
    int v;
    NoteHolder holder = 0; // not compared: tests read the notes of one timeline at a time
    bool operator==(const NoteEvent& o) const { return ms == o.ms && on == o.on && v == o.v; }
};

// Records what a run does, with fake times; drawing may be given a cost.
class RecordingOutput : public PlaybackOutput {
public:
    explicit RecordingOutput(FakeClock& clock) : clock_(clock) {}

    std::vector<NoteEvent> notes;
    std::vector<QString> names;
    std::vector<int> lines;      // x of every play line drawn
    std::vector<int> scrolls;    // every value given to the scroll bar
    std::vector<bool> faces;     // every Play/Pause face shown
    int repaints = 0;
    int scroll = 0;
    int tempo = notivo::TempoAtStart;
    int drawCostMs = 0;          // fake time taken by each redraw

    void NoteOn(int v, NoteHolder holder) override { notes.push_back({clock_.ms(), true, v, holder}); }
    void NoteOff(int v, NoteHolder holder) override { notes.push_back({clock_.ms(), false, v, holder}); }
    void showNames(const QString& text) override { names.push_back(text); }
    int scrollValue() const override { return scroll; }
    int scrollMaximum() const override { return 450; }
    void setScrollValue(int value) override { scroll = value; scrolls.push_back(value); }
    int tempoValue() const override { return tempo; }
    void drawPlayLine(int x) override
    {
        lines.push_back(x);
        clock_.t += std::chrono::milliseconds(drawCostMs);
    }
    void repaintCanvas() override { ++repaints; }
    void showPlayFace(bool pauseBars) override { faces.push_back(pauseBars); }

    // The note events without the blanket release of a run's or step's end.
    std::vector<NoteEvent> notesWithoutRelease() const;

private:
    FakeClock& clock_;
};

} // namespace notivo::playtest
