// Import timings of a 500-column score, as medians over repeated runs, each
// the whole open: the file read from disk, told by its content and read into
// the grid.
//   notivo.import.musicxml_500_ms   the MusicXML file notivo writes of it (target: under 20 ms)
//   notivo.import.mid_500_ms        a Standard MIDI File of it as notation, at
//                                   120 quarters a minute (target: under 5 ms)
// Each line reads `name: value unit`.  A run that does not give back all 500
// columns fails.
#include "notivo/score/MusicXmlWriter.h"
#include "notivo/score/NotePitch.h"
#include "notivo/score/NoteValues.h"
#include "notivo/score/PassRules.h"
#include "notivo/score/ReadAnyScore.h"
#include "notivo/score/ScoreModel.h"
#include "platform/midi/MidiMessage.h"
#include "platform/midi/StandardMidiFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>
#include "BenchSupport.h"
#include "FullScore.h"

using namespace notivo;

namespace {

// The score played as written: each column starts when its longest note or
// its rest ends, a semiquaver lasting 125 ms.
QByteArray notatedMidi(const Score& score)
{
    constexpr std::int64_t Semiquaver = 125000;
    std::vector<platform::midi::TimedMessage> messages;
    std::int64_t at = 0;
    for (int c = 1; c <= score.ColumnCount; ++c) {
        int longest = 1;
        for (int p = 1; p <= PlayedPositions; ++p) {
            const int id = score.ScoreNotes.cell(p, c);
            longest = std::max(longest, notatedSemiquavers(id));
            if (id < NoteId::Semiquaver || id > NoteId::Whole)
                continue;
            const int key = soundingKey(p, score.ScoreAccidentals.cell(p, c));
            messages.push_back({at, platform::midi::packShortMessage(0x90, key, 100)});
            messages.push_back({at + notatedSemiquavers(id) * Semiquaver - 1000, platform::midi::packShortMessage(0x80, key, 0)});
        }
        at += longest * Semiquaver;
    }
    return platform::midi::standardMidiFile(QStringLiteral("bench"), messages, at);
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Score score = bench::fullScore();
    QTemporaryDir dir;
    const QString xml = dir.filePath(QStringLiteral("bench.musicxml"));
    const QString mid = dir.filePath(QStringLiteral("bench.mid"));
    if (!dir.isValid() || !write(xml, musicXml(score, TempoAtStart, QStringLiteral("Piano"))) ||
        !write(mid, notatedMidi(score))) {
        std::fprintf(stderr, "the files to import cannot be written\n");
        return 1;
    }
    auto read = std::make_unique<Score>();
    bool ok = true;
    auto open = [&](const QString& path) {
        const ScoreReadResult result = readAnyScore(*read, path);
        ok &= result.ok && read->ColumnCount == ScoreColumns;
    };
    const double xmlMs = bench::medianMilliseconds(30, [&] { open(xml); });
    const double midMs = bench::medianMilliseconds(100, [&] { open(mid); });
    if (!ok) {
        std::fprintf(stderr, "an import did not give back the 500 columns\n");
        return 1;
    }
    std::printf("notivo.import.musicxml_500_ms: %.3f ms\n", xmlMs);
    std::printf("notivo.import.mid_500_ms: %.3f ms\n", midMs);
    return 0;
}
