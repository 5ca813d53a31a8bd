// Costs of recording a performance in keyrig: what recording adds to sending
// one message (the recorder's share, timed call by call over an hour of dense
// playing, 20 messages a second), the resident memory that hour takes, and
// writing it as a MIDI file.
//
//   bench_keyrig_record

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <iterator>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "keyrig/PerformanceRecorder.h"
#include "keyrig/RecordingFile.h"
#include "platform/midi/MidiMessage.h"
#include "platform/midi/StandardMidiFile.h"
#include "BenchSupport.h"

namespace {
using bench::percentile;

using Clock = std::chrono::steady_clock;
constexpr int HourOfDensePlaying = 20 * 3600;

// Key strokes on and off across three octaves, with pads and program changes now and then.
std::uint32_t message(int i)
{
    const int key = 48 + i * 7 % 36;
    switch (i % 10) {
    case 9: return platform::midi::packShortMessage(0xC0, i % 128);
    case 8: return platform::midi::packShortMessage(0x99, 35 + i % 32, 127);
    default: return platform::midi::packShortMessage(i % 2 ? 0x80 : 0x90, key, i % 2 ? 0 : 100);
    }
}

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

std::int64_t fakeMicroseconds = 0;
Clock::time_point fakeNow() { return Clock::time_point(std::chrono::microseconds(fakeMicroseconds)); }

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    std::vector<double> p99s, rss;
    for (int run = 0; run < 5; ++run) {
        std::vector<double> micros;
        micros.reserve(HourOfDensePlaying);
        std::fill_n(std::back_inserter(micros), HourOfDensePlaying, 0.0); // resident before the count starts
        micros.clear();
        PerformanceRecorder recorder;
        const long before = residentKilobytes();
        recorder.start();
        for (int i = 0; i < HourOfDensePlaying; ++i) {
            const auto start = Clock::now();
            recorder.take(message(i));
            micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        }
        rss.push_back((residentKilobytes() - before) / 1024.0);
        recorder.stop();
        p99s.push_back(percentile(micros, 0.99));
    }
    std::printf("keyrig.record.event_us: %.3f us\n", percentile(p99s, 0.5));
    // The first run: later ones reuse memory the allocator kept, so they show no growth.
    std::printf("keyrig.record.memory_1h_mb: %.1f MB\n", rss.front());

    QTemporaryDir folder;
    std::vector<double> millis;
    for (int run = 0; run < 5; ++run) {
        PerformanceRecorder recorder;
        recorder.setClock(&fakeNow);
        fakeMicroseconds = 0;
        recorder.start();
        for (int i = 0; i < HourOfDensePlaying; ++i) {
            fakeMicroseconds = std::int64_t(i) * 50'000;
            recorder.take(message(i));
        }
        const auto start = Clock::now();
        recorder.stop();
        const QByteArray bytes = platform::midi::standardMidiFile(QStringLiteral("keyrig"), recorder.messages(),
                                                                  recorder.endMicroseconds());
        const RecordingFile::Outcome outcome = RecordingFile::write(folder.path(), recorder.startedAt(), bytes);
        millis.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (!outcome.ok()) {
            std::fprintf(stderr, "bench_keyrig_record: %s\n", qUtf8Printable(outcome.error));
            return 1;
        }
        QFile::remove(outcome.path);
    }
    std::printf("keyrig.record.write_1h_ms: %.1f ms\n", percentile(millis, 0.5));
    return 0;
}
