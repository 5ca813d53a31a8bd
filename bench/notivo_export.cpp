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
#include "FullScore.h"

using namespace notivo;

using bench::median;
using bench::medianMilliseconds;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Score score = bench::fullScore();
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
