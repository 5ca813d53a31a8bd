#pragma once
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "notivo/editor/PlaybackEngine.h"

namespace notivo::playtest {

// A clock whose waits take no real time.  Actions scheduled at a time run
// inside the wait that passes that time, as clicks run inside a real wait.
class FakeClock : public PlaybackClock {
public:
    SteadyClock::time_point start = SteadyClock::time_point{} + std::chrono::hours(1);
    SteadyClock::time_point t = start;
    bool quitting = false; // the application is closing: waits are cut
    std::multimap<long long, std::function<void()>> actions; // ms since start
    std::vector<long long> waits;                              // length of every wait, in ms
    std::function<void()> onWait;                              // runs as each wait begins

    SteadyClock::time_point now() override { return t; }
    bool waitUntil(SteadyClock::time_point deadline) override
    {
        waits.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - t).count());
        if (onWait)
            onWait();
        while (!actions.empty() && start + std::chrono::milliseconds(actions.begin()->first) <= deadline) {
            auto action = actions.begin()->second;
            const auto when = start + std::chrono::milliseconds(actions.begin()->first);
            actions.erase(actions.begin());
            if (when > t)
                t = when;
            action();
            if (quitting)
                return false;
        }
        if (deadline > t)
            t = deadline;
        return true;
    }
    long long ms() const { return std::chrono::duration_cast<std::chrono::milliseconds>(t - start).count(); }
    void at(long long msSinceStart, std::function<void()> action) { actions.emplace(msSinceStart, std::move(action)); }
};

struct NoteEvent {
    long long ms;
    bool on;
    int v;
    bool operator==(const NoteEvent&) const = default;
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

    void NoteOn(int v) override { notes.push_back({clock_.ms(), true, v}); }
    void NoteOff(int v) override { notes.push_back({clock_.ms(), false, v}); }
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
