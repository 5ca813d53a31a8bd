// Redraw and score file timings of the editor, as medians over many runs:
//   notivo.redraw.full_window  every one of the 50 x 30 visible cells holds a note
//   notivo.redraw.empty        the staff alone
//   notivo.file.write_500      saving a score of 500 columns with many accidentals
//   notivo.file.read_500       loading it again
// Each line reads `name: value unit`.
#include "notivo/score/ScoreFile.h"
#include "notivo/score/ScoreModel.h"
#include "notivo/staff/ScoreView.h"

#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>
#include "BenchSupport.h"

using namespace notivo;

namespace {
using bench::medianMilliseconds;

void report(const char* name, double milliseconds)
{
    std::printf("%s: %.4f ms\n", name, milliseconds);
    std::fflush(stdout);
}

} // namespace

int main()
{
    QImage canvas(523, 177, QImage::Format_RGB32);

    Score full;
    for (int c = 1; c <= ScoreColumns; ++c)
        for (int p = 1; p <= staff::ShownPositions; ++p) {
            full.ScoreNotes.set(p, c, std::uint8_t(1 + (p + c) % 5));
            full.ScoreAccidentals.set(p, c, std::uint8_t((p * c) % 3));
        }
    full.ColumnCount = ScoreColumns;
    report("notivo.redraw.full_window", medianMilliseconds(2000, [&] { staff::DisplayPentagramNotes(canvas, full, 0); }));

    const Score empty;
    report("notivo.redraw.empty", medianMilliseconds(2000, [&] { staff::DisplayPentagramNotes(canvas, empty, 0); }));

    // Every position of every column used; a third of the cells sharp, a third flat.
    Score big;
    for (int c = 1; c <= ScoreColumns; ++c)
        for (int p = 1; p <= ScorePositions; ++p) {
            const std::uint8_t ids[] = {0, 1, 2, 3, 4, 5, 10, 11};
            big.ScoreNotes.set(p, c, ids[(p * 7 + c) % 8]);
            big.ScoreAccidentals.set(p, c, std::uint8_t((p + c * 5) % 3));
        }
    big.ScoreNotes.set(1, ScoreColumns, NoteId::Whole);
    big.ColumnCount = ScoreColumns;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString path = dir.filePath("bench.txt");
    bool ok = true;
    report("notivo.file.write_500", medianMilliseconds(200, [&] { ok &= bool(saveScoreFile(big, path)); }));
    report("notivo.file.format_500", medianMilliseconds(200, [&] { ok &= !scoreText(big).isEmpty(); }));
    Score loaded;
    report("notivo.file.read_500", medianMilliseconds(200, [&] { ok &= bool(loadScoreFile(loaded, path)); }));
    if (!ok || loaded.ScoreNotes != big.ScoreNotes || loaded.ScoreAccidentals != big.ScoreAccidentals) {
        std::fprintf(stderr, "the score did not survive the file round trip\n");
        return 1;
    }
    return 0;
}
