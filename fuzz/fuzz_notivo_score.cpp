// Score file reader on arbitrary bytes: it must never touch memory outside
// the grids, keep ColumnCount within the grid, and a file it accepts must
// come back unchanged through the writer.
#include "notivo/score/ScoreFile.h"
#include "notivo/score/ScoreModel.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto score = std::make_unique<notivo::Score>();
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const notivo::ScoreLoadResult result = notivo::readScore(*score, bytes);
    if (score->ColumnCount < 0 || score->ColumnCount > notivo::ScoreColumns)
        __builtin_trap();
    for (std::uint8_t id : score->ScoreNotes.cells())
        if (id > 15)
            __builtin_trap();
    if (result.valid != result.reason.isEmpty())
        __builtin_trap();

    if (result.valid) {
        auto again = std::make_unique<notivo::Score>();
        const QByteArray text = notivo::scoreText(*score);
        if (!notivo::readScore(*again, text) || again->ColumnCount != score->ColumnCount ||
            again->ScoreNotes != score->ScoreNotes || notivo::scoreText(*again) != text)
            __builtin_trap();
    }
    return 0;
}
