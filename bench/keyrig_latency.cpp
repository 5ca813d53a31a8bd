// Times keyrig where a player feels it: from a key event reaching the window
// to its note message reaching the MIDI device, and the steadiness of the
// beat timer (each tick against its grid time: first tick + k * interval).
//
//   bench_keyrig_latency [ticks]   (default 1000 ticks of 100 ms)

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "keyrig/frmPiano.h"
#include "platform/chrome/MessageBox.h"
#include "platform/chrome/ProgramFolder.h"
#include "tests/support/RecorderMidi.h"
#include "BenchSupport.h"

namespace {
using bench::percentile;

using Clock = std::chrono::steady_clock;

void sendKey(QWidget* window, QEvent::Type type)
{
    QKeyEvent event(type, Qt::Key_Z, Qt::NoModifier, 52, 0, 0);
    QApplication::sendEvent(window, &event);
}

void keyLatency(frmPiano& window, platform::midi::RecorderMidiService& recorder)
{
    constexpr int Presses = 2000;
    std::vector<double> micros;
    for (int i = 0; i < Presses; ++i) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            recorder.clear();
            const auto start = Clock::now();
            sendKey(&window, type);
            const auto sent = recorder.messages();
            if (sent.size() != 1) {
                std::fprintf(stderr, "expected one message per key event, got %zu\n", sent.size());
                std::exit(1);
            }
            micros.push_back(std::chrono::duration<double, std::micro>(sent[0].time - start).count());
        }
    }
    std::printf("keyrig.key_to_message_median_us: %.3f us\n", percentile(micros, 0.5));
    std::printf("keyrig.key_to_message_p99_us: %.3f us\n", percentile(micros, 0.99));
}

void beatSteadiness(frmPiano& window, platform::midi::RecorderMidiService& recorder, int ticks)
{
    constexpr int Interval = 100;
    constexpr int WarmUp = 3; // the first tick comes late after the blocking key test above
    recorder.clear();
    window.mnuBeat_Click(2); // "16 Beat": 100 ms steps, every step strikes
    QEventLoop loop;
    QTimer::singleShot((ticks + WarmUp + 2) * Interval + 50, &loop, &QEventLoop::quit);
    loop.exec();

    // The first message of each step marks its tick.
    std::vector<Clock::time_point> tickTimes;
    for (const auto& m : recorder.messages())
        if (tickTimes.empty() || m.time - tickTimes.back() > std::chrono::milliseconds(Interval / 2))
            tickTimes.push_back(m.time);
    if (static_cast<int>(tickTimes.size()) < ticks + WarmUp) {
        std::fprintf(stderr, "only %zu ticks arrived\n", tickTimes.size());
        std::exit(1);
    }
    tickTimes.erase(tickTimes.begin(), tickTimes.begin() + WarmUp);
    tickTimes.resize(ticks);
    // A tick held up past a whole interval is dropped and the next one keeps
    // to the grid, so each tick is measured against its nearest grid time.
    std::vector<double> errors;
    long long lastSlot = 0;
    for (int k = 0; k < ticks; ++k) {
        const double since = std::chrono::duration<double, std::milli>(tickTimes[k] - tickTimes[0]).count();
        lastSlot = std::llround(since / Interval);
        errors.push_back(std::abs(since - double(lastSlot) * Interval));
    }
    const double drift =
        std::chrono::duration<double, std::milli>(tickTimes.back() - tickTimes.front()).count() -
        double(Interval) * lastSlot;
    std::printf("keyrig.beat.ticks: %d ticks\n", ticks);
    std::printf("keyrig.beat.tick_median_ms: %.3f ms\n", percentile(errors, 0.5));
    std::printf("keyrig.beat.tick_p99_ms: %.3f ms\n", percentile(errors, 0.99));
    std::printf("keyrig.beat.drift_ms: %.3f ms\n", drift);
    std::printf("keyrig.beat.dropped_ticks: %lld ticks\n", lastSlot - (ticks - 1));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(10, std::atoi(argv[1])) : 1000;

    platform::midi::RecorderMidiService recorder(1);
    platform::midi::installMidiService(&recorder);
    platform::setMessageSink([](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
    QTemporaryDir folder;
    platform::setProgramFolderOverride(folder.path());

    frmPiano window;
    keyLatency(window, recorder);
    beatSteadiness(window, recorder, ticks);

    platform::midi::installMidiService(nullptr);
    return 0;
}
