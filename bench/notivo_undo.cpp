// Undo figures of the editor's score history:
//   notivo.undo.step_us     median time to undo a Move Down over a 500-column selection
//   notivo.undo.history_mb  heap the history takes after 1,000 single-note edits
//                           (the allocator's count of bytes in use, before and after)
// Targets: under 500 us and under 2 MB.  Each line reads `name: value unit`.
#include "notivo/score/ScoreHistory.h"
#include "notivo/score/ScoreModel.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>
#include "BenchSupport.h"

using namespace notivo;

namespace {

double undoMoveDownMicroseconds()
{
    Score score;
    for (int c = 1; c <= ScoreColumns; ++c)
        for (int p = 5; p <= 25; p += 4)
            score.placeNote(p, c, std::uint8_t(1 + (p + c) % 5), std::uint8_t((p * c) % 3));
    score.SelectionStart = 1;
    score.SelectionEnd = ScoreColumns;
    ScoreHistory history;
    {
        ScoreChange change(history, score, ScoreChange::Join::Separate);
        score.moveSelectionDown();
    }
    const int runs = 2000;
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const bool undone = history.undo(score).has_value();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        if (!undone || !history.redo(score)) {
            std::fprintf(stderr, "the step could not be undone and redone\n");
            return -1;
        }
    }
    return bench::median(times);
}

double historyMegabytesAfterSingleNoteEdits()
{
    Score score;
    const std::size_t before = mallinfo2().uordblks;
    auto history = std::make_unique<ScoreHistory>();
    for (int i = 0; i < 1000; ++i) {
        ScoreChange change(*history, score);
        // Place and erase in turn over the whole grid, as a user clicks.
        const int position = 1 + i % 30;
        const int column = 1 + (i * 7) % ScoreColumns;
        if (score.ScoreNotes.get(position, column) == 0)
            score.placeNote(position, column, NoteId::Quarter, std::uint8_t(i % 3));
        else
            score.eraseCell(position, column);
    }
    const std::size_t after = mallinfo2().uordblks;
    if (history->undoCount() != 1000) {
        std::fprintf(stderr, "the history kept %zu steps, not 1000\n", history->undoCount());
        return -1;
    }
    return double(after - before) / (1024.0 * 1024.0);
}

} // namespace

int main()
{
    const double step = undoMoveDownMicroseconds();
    const double megabytes = historyMegabytesAfterSingleNoteEdits();
    if (step < 0 || megabytes < 0)
        return 1;
    std::printf("notivo.undo.step_us: %.2f us\n", step);
    std::printf("notivo.undo.history_mb: %.3f MB\n", megabytes);
    return 0;
}
