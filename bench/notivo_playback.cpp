// Timing of the editor's play loop on the real clock: a 200-column score with
// mixed note values, rests and chords is played at tempo 110 and 180 into the
// recorder device; each note-on is compared with its ideal time (the same
// score played on a clock that takes no time), and the process CPU time is
// compared with the wall time.
// Prints `name: value unit` lines.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include "notivo/editor/EditorMidi.h"
#include "notivo/editor/PlaybackEngine.h"
#include "platform/midi/MidiMessage.h"
#include "platform/midi/RecorderMidi.h"

using namespace notivo;
using Clock = std::chrono::steady_clock;

namespace {

// A clock that takes no time: gives the ideal onsets.
class InstantClock : public PlaybackClock {
public:
    SteadyClock::time_point t = SteadyClock::time_point{} + std::chrono::hours(1);
    SteadyClock::time_point now() override { return t; }
    bool waitUntil(SteadyClock::time_point deadline) override
    {
        t = std::max(t, deadline);
        return true;
    }
};

class BenchOutput : public PlaybackOutput {
public:
    BenchOutput(PlaybackClock& clock, EditorMidi* midi) : clock_(clock), midi_(midi) {}
    std::vector<double> onsetsMs; // only kept for the ideal run
    SteadyClock::time_point start;

    void NoteOn(int v) override
    {
        if (midi_)
            midi_->NoteOn(v);
        else
            onsetsMs.push_back(std::chrono::duration<double, std::milli>(clock_.now() - start).count());
    }
    void NoteOff(int v) override
    {
        if (midi_)
            midi_->NoteOff(v);
    }
    void showNames(const QString&) override {}
    int scrollValue() const override { return scroll_; }
    int scrollMaximum() const override { return 450; }
    void setScrollValue(int value) override { scroll_ = value; }
    int tempoValue() const override { return tempo; }
    void drawPlayLine(int) override {}
    void repaintCanvas() override {}
    void showPlayFace(bool) override {}
    int tempo = TempoAtStart;

private:
    PlaybackClock& clock_;
    EditorMidi* midi_;
    int scroll_ = 0;
};

Score makeScore()
{
    Score score;
    // Mostly short values, so that a run stays short; rests and chords mixed in.
    const int pattern[] = {1, 1, 2, 1, 3, 1, 2, 11, 1, 2, 1, 4, 1, 10, 2, 1, 5, 1, 2, 1};
    for (int c = 1; c <= 200; ++c) {
        const int id = pattern[(c - 1) % std::size(pattern)];
        if (isRestId(id)) {
            score.placeRest(c, static_cast<std::uint8_t>(id));
            continue;
        }
        const int position = 8 + (c * 7) % 20;
        score.placeNote(position, c, static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(c % 3));
        if (c % 5 == 0) // a chord of two equal values
            score.placeNote(position + 2, c, static_cast<std::uint8_t>(id), 0);
    }
    return score;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const std::size_t index = static_cast<std::size_t>(std::ceil(p * values.size())) - 1;
    return values[std::min(index, values.size() - 1)];
}

struct RunFigures {
    std::vector<double> errors; // |actual - ideal| of every note-on, ms
    double driftMs = 0;         // actual - ideal of the last note-on
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

RunFigures play(int tempo, platform::midi::RecorderMidiService& recorder, EditorMidi& midi)
{
    RunFigures figures;

    Score idealScore = makeScore();
    InstantClock instant;
    BenchOutput ideal(instant, nullptr);
    ideal.tempo = tempo;
    ideal.start = instant.now();
    PlaybackEngine idealEngine(idealScore, ideal, instant);
    idealEngine.Command5_Click();

    Score score = makeScore();
    WindowPlaybackClock real;
    BenchOutput out(real, &midi);
    out.tempo = tempo;
    PlaybackEngine engine(score, out, real);
    recorder.clear();
    const double cpu0 = cpuSeconds();
    const auto wall0 = Clock::now();
    engine.Command5_Click();
    figures.wallSeconds = std::chrono::duration<double>(Clock::now() - wall0).count();
    figures.cpuSeconds = cpuSeconds() - cpu0;

    std::vector<double> actual;
    for (const auto& m : recorder.messages())
        if ((platform::midi::statusOf(m.packed) & 0xF0) == 0x90)
            actual.push_back(std::chrono::duration<double, std::milli>(m.time - engine.PlayStartTick()).count());
    if (actual.size() != ideal.onsetsMs.size()) {
        std::fprintf(stderr, "tempo %d: %zu note-ons played, %zu expected\n", tempo, actual.size(), ideal.onsetsMs.size());
        std::exit(1);
    }
    for (std::size_t i = 0; i < actual.size(); ++i)
        figures.errors.push_back(std::fabs(actual[i] - ideal.onsetsMs[i]));
    figures.driftMs = actual.back() - ideal.onsetsMs.back();
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    platform::midi::RecorderMidiService recorder(1);
    platform::midi::installMidiService(&recorder);
    EditorMidi midi;
    if (!midi.openFirstDevice()) {
        std::fprintf(stderr, "the recorder device did not open\n");
        return 1;
    }

    std::vector<double> allErrors;
    double worstDrift = 0, wall = 0, cpu = 0;
    for (int tempo : {110, 180}) {
        const RunFigures f = play(tempo, recorder, midi);
        std::printf("notivo.play.tempo%d.onset_median_ms: %.3f ms\n", tempo, percentile(f.errors, 0.5));
        std::printf("notivo.play.tempo%d.onset_p99_ms: %.3f ms\n", tempo, percentile(f.errors, 0.99));
        std::printf("notivo.play.tempo%d.drift_ms: %.3f ms\n", tempo, f.driftMs);
        std::printf("notivo.play.tempo%d.wall_s: %.3f s\n", tempo, f.wallSeconds);
        allErrors.insert(allErrors.end(), f.errors.begin(), f.errors.end());
        if (std::fabs(f.driftMs) > std::fabs(worstDrift))
            worstDrift = f.driftMs;
        wall += f.wallSeconds;
        cpu += f.cpuSeconds;
    }
    std::printf("notivo.play.onset_median_ms: %.3f ms\n", percentile(allErrors, 0.5));
    std::printf("notivo.play.onset_p99_ms: %.3f ms\n", percentile(allErrors, 0.99));
    std::printf("notivo.play.drift_ms: %.3f ms\n", worstDrift);
    std::printf("notivo.play.cpu_share: %.2f %%\n", 100.0 * cpu / wall);
    midi.close();
    platform::midi::installMidiService(nullptr);
    return 0;
}
