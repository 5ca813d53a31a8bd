// Export timings of a full 500-column score, as medians over repeated runs:
//   notivo.export.mid_500_ms               the Standard MIDI File, written to disk
//   notivo.export.musicxml_500_ms          the MusicXML file, written to disk
//   notivo.export.wav_500_realtime_factor  seconds of audio rendered (with the
//                                          release tail) per second of rendering
// Each line reads `name: value unit`.
#include "notivo/score/AudioExport.h"
#include "notivo/score/ScoreExport.h"
#include "notivo/score/ScoreModel.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>
#include "BenchSupport.h"

using namespace notivo;

namespace {
using bench::median;
using bench::medianMilliseconds;

// Every column used as a user writes: chords of one to three notes of mixed
// values, some sharps and flats, a rest now and then.
Score fullScore()
{
    Score score;
    for (int c = 1; c <= ScoreColumns; ++c) {
        if (c % 9 == 0) {
            score.placeRest(c, c % 2 ? NoteId::QuarterPause : NoteId::QuaverPause);
            continue;
        }
        const int notes = 1 + c % 3;
        for (int n = 0; n < notes; ++n) {
            const int position = 8 + (c * 5 + n * 4) % 20;
            const std::uint8_t id = std::uint8_t(1 + (c + n) % 5);
            score.placeNote(position, c, id, std::uint8_t((c * 7 + n) % 5 == 0 ? 1 : (c + n) % 7 == 0 ? 2 : 0));
        }
    }
    return score;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Score score = fullScore();
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    bool ok = true;
    const QString mid = dir.filePath("bench.mid");
    const double midMs = medianMilliseconds(50, [&] { ok &= bool(exportScore(score, mid, FileFormat::Midi, {})); });
    const QString xml = dir.filePath("bench.musicxml");
    const double xmlMs = medianMilliseconds(20, [&] { ok &= bool(exportScore(score, xml, FileFormat::MusicXml, {})); });

    std::vector<double> factors;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        AudioExport render(score, dir.filePath("bench.wav"), FileFormat::Wav, {});
        while (render.step()) {
        }
        ok &= bool(render.finish());
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        factors.push_back(render.renderedSeconds() / seconds);
    }
    if (!ok) {
        std::fprintf(stderr, "an export failed\n");
        return 1;
    }
    std::printf("notivo.export.mid_500_ms: %.3f ms\n", midMs);
    std::printf("notivo.export.musicxml_500_ms: %.3f ms\n", xmlMs);
    std::printf("notivo.export.wav_500_realtime_factor: %.1f x\n", median(factors));
    return 0;
}
