// Timing of the editor's play loop on the real clock, into the recorder
// device.  Every note-on of a run is compared with its pass deadline: the
// run's start plus the nominal time of the same note in the whole run as the
// exporters see it.
// 1. A 200-column score with mixed note values, rests and chords at tempo 110
//    and 180, with nothing else going on; the process CPU time against the
//    wall time.
// 2. A 64-column run in the editor window (offscreen) during which the staff
//    is clicked, Step is clicked and the position strip is dragged every
//    400-600 ms through the window's own handlers.  The note-ons sent while
//    those handlers run are theirs; all others are the run's.
// Prints `name: value unit` lines.  Targets: every onset p99 <= 3 ms, also
// while working; cpu_share <= 1 %.
#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <sys/resource.h>
#include <vector>

#include "notivo/editor/EditorMidi.h"
#include "notivo/editor/PlaybackEngine.h"
#include "notivo/editor/Scheduler.h"
#include "notivo/editor/frmEditor.h"
#include "platform/midi/MidiMessage.h"
#include "platform/raster/PictureBox.h"
#include "tests/notivo/editor/EditorProbe.h"
#include "tests/support/RecorderMidi.h"
#include "BenchSupport.h"

using namespace notivo;
using Clock = std::chrono::steady_clock;
using platform::midi::RecordedMessage;

namespace {
using bench::percentile;

class BenchOutput : public PlaybackOutput {
public:
    explicit BenchOutput(EditorMidi& midi) : midi_(midi) {}
    std::function<void()> ended;
    int tempo = TempoAtStart;

    void NoteOn(int v, NoteHolder holder) override { midi_.NoteOn(v, holder); }
    void NoteOff(int v, NoteHolder holder) override { midi_.NoteOff(v, holder); }
    void showNames(const QString&) override {}
    int scrollValue() const override { return scroll_; }
    int scrollMaximum() const override { return 450; }
    void setScrollValue(int value) override { scroll_ = value; }
    int tempoValue() const override { return tempo; }
    void drawPlayLine(int) override {}
    void repaintCanvas() override {}
    void showPlayFace(bool pauseBars) override
    {
        if (!pauseBars && ended)
            ended();
    }

private:
    EditorMidi& midi_;
    int scroll_ = 0;
};

Score mixedScore()
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

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

bool isNoteOn(const RecordedMessage& m) { return (platform::midi::statusOf(m.packed) & 0xF0) == 0x90; }

// The nominal time of every note-on of the run, ms from its start.
std::vector<double> nominalOnsets(const Score& score, int tempo)
{
    std::vector<double> onsets;
    for (const PerformedNote& n : performRun(score, unitMilliseconds(tempo)).notes)
        if (n.on)
            onsets.push_back(static_cast<double>(n.timeMs));
    return onsets;
}

// Signed errors of the actual onsets against the nominal ones; ends the
// benchmark when the run did not send the notes it should have.
std::vector<double> onsetErrors(const std::vector<Clock::time_point>& actual, const std::vector<double>& nominal,
                                Clock::time_point start, const char* what)
{
    if (actual.size() != nominal.size()) {
        std::fprintf(stderr, "%s: %zu note-ons played, %zu expected\n", what, actual.size(), nominal.size());
        std::exit(1);
    }
    std::vector<double> errors;
    for (std::size_t i = 0; i < actual.size(); ++i)
        errors.push_back(msBetween(start, actual[i]) - nominal[i]);
    return errors;
}

struct RunFigures {
    std::vector<double> errors; // actual - nominal of every note-on, ms
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

RunFigures playAlone(int tempo, platform::midi::RecorderMidiService& recorder, EditorMidi& midi)
{
    Score score = mixedScore();
    WindowScheduler scheduler;
    BenchOutput out(midi);
    out.tempo = tempo;
    PlaybackEngine engine(score, out, scheduler);
    QEventLoop loop;
    out.ended = [&] { loop.quit(); };

    recorder.clear();
    RunFigures figures;
    const double cpu0 = cpuSeconds();
    const auto wall0 = Clock::now();
    engine.togglePlay();
    if (engine.Playing())
        loop.exec();
    figures.wallSeconds = std::chrono::duration<double>(Clock::now() - wall0).count();
    figures.cpuSeconds = cpuSeconds() - cpu0;

    std::vector<Clock::time_point> actual;
    for (const RecordedMessage& m : recorder.messages())
        if (isNoteOn(m))
            actual.push_back(m.time);
    figures.errors = onsetErrors(actual, nominalOnsets(score, tempo), engine.PlayStartTick(), "alone");
    return figures;
}

// The user at work during a run: staff clicks (each places or erases a note
// and previews it), Step clicks and drags over three columns of the strip,
// in turn, 400-600 ms apart.
class Worker {
public:
    explicit Worker(frmEditor& editor) : e_(editor) {}

    struct Window {
        Clock::time_point from, to;
    };
    std::vector<Window> busy; // while the window's handlers ran

    void next()
    {
        const auto from = Clock::now();
        switch (count_++ % 3) {
        case 0: {
            const int w = 2 + (count_ * 7) % 26;
            const QPointF at(16 * w + 30, 5 * 27 + 13);
            mouse(e_.NoteContainerPbx, QEvent::MouseButtonPress, at, Qt::LeftButton);
            mouse(e_.NoteContainerPbx, QEvent::MouseButtonRelease, at, Qt::NoButton);
            break;
        }
        case 1:
            e_.Command2->click();
            break;
        case 2: {
            const int w = 2 + (count_ * 5) % 24;
            mouse(e_.Picture6, QEvent::MouseButtonPress, QPointF(16 * w + 35, 4), Qt::LeftButton);
            for (int step = 1; step <= 2; ++step)
                mouse(e_.Picture6, QEvent::MouseMove, QPointF(16 * (w + step) + 35, 4), Qt::LeftButton);
            mouse(e_.Picture6, QEvent::MouseButtonRelease, QPointF(16 * (w + 2) + 35, 4), Qt::NoButton);
            break;
        }
        }
        busy.push_back({from, Clock::now()});
    }
    int interactions() const { return count_; }

private:
    static void mouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }

    frmEditor& e_;
    int count_ = 0;
};

void runUntil(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

std::vector<double> playWhileWorking(platform::midi::RecorderMidiService& recorder)
{
    Score score;
    for (int c = 1; c <= 64; ++c)
        score.placeNote(3 + c % 12, c, NoteId::Quarter, 0);
    EditorServices services;
    services.endProgram = [] {};
    frmEditor editor(score, std::move(services));
    const EditorProbe probe(editor);
    if (!editor.Form_Load()) {
        std::fprintf(stderr, "the editor did not start\n");
        std::exit(1);
    }
    editor.show();
    runUntil([&] { return probe.scheduler().idle(); }); // the start-up preview

    Worker worker(editor);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> gap(400, 600);
    QTimer work;
    work.setSingleShot(true);
    work.setTimerType(Qt::PreciseTimer);
    QObject::connect(&work, &QTimer::timeout, [&] {
        if (!probe.playing())
            return;
        worker.next();
        work.start(gap(random));
    });

    // The run plays its own copy of the notes; the staff clicks edit the score meanwhile.
    const std::vector<double> nominal = nominalOnsets(score, TempoAtStart);
    recorder.clear();
    editor.Command5->click();
    const Clock::time_point start = probe.playback().PlayStartTick();
    work.start(gap(random));
    runUntil([&] { return !probe.playing(); });
    work.stop();
    runUntil([&] { return probe.scheduler().idle(); });

    std::vector<Clock::time_point> actual;
    for (const RecordedMessage& m : recorder.messages()) {
        const bool handlers = std::any_of(worker.busy.begin(), worker.busy.end(), [&](const Worker::Window& w) {
            return m.time >= w.from && m.time <= w.to;
        });
        if (isNoteOn(m) && !handlers)
            actual.push_back(m.time);
    }
    if (worker.interactions() < 20) {
        std::fprintf(stderr, "while working: only %d interactions during the run\n", worker.interactions());
        std::exit(1);
    }
    return onsetErrors(actual, nominal, start, "while working");
}

std::vector<double> magnitudes(std::vector<double> errors)
{
    for (double& e : errors)
        e = std::fabs(e);
    return errors;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
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
        const RunFigures f = playAlone(tempo, recorder, midi);
        const std::vector<double> sizes = magnitudes(f.errors);
        std::printf("notivo.play.tempo%d.onset_median_ms: %.3f ms\n", tempo, percentile(sizes, 0.5));
        std::printf("notivo.play.tempo%d.onset_p99_ms: %.3f ms\n", tempo, percentile(sizes, 0.99));
        std::printf("notivo.play.tempo%d.drift_ms: %.3f ms\n", tempo, f.errors.back());
        std::printf("notivo.play.tempo%d.wall_s: %.3f s\n", tempo, f.wallSeconds);
        allErrors.insert(allErrors.end(), sizes.begin(), sizes.end());
        if (std::fabs(f.errors.back()) > std::fabs(worstDrift))
            worstDrift = f.errors.back();
        wall += f.wallSeconds;
        cpu += f.cpuSeconds;
    }
    std::printf("notivo.play.onset_median_ms: %.3f ms\n", percentile(allErrors, 0.5));
    std::printf("notivo.play.onset_p99_ms: %.3f ms\n", percentile(allErrors, 0.99));
    std::printf("notivo.play.drift_ms: %.3f ms\n", worstDrift);
    std::printf("notivo.play.cpu_share: %.2f %%\n", 100.0 * cpu / wall);
    midi.close();

    const std::vector<double> working = magnitudes(playWhileWorking(recorder));
    std::printf("notivo.play.onset_median_ms_while_working: %.3f ms\n", percentile(working, 0.5));
    std::printf("notivo.play.onset_p99_ms_while_working: %.3f ms\n", percentile(working, 0.99));
    platform::midi::installMidiService(nullptr);
    return 0;
}
