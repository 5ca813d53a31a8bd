#pragma once
// What every score a reader of another program's file gives back must hold,
// for the fuzz targets of those readers.
#include "notivo/score/ImportReport.h"
#include "notivo/score/MusicXmlReader.h"
#include "notivo/score/MusicXmlWriter.h"
#include "notivo/score/PassRules.h"
#include "notivo/score/ScoreModel.h"

#include <memory>

namespace fuzzchecks {

// A score the reader must replace whole, or leave exactly so on a failure.
inline std::unique_ptr<notivo::Score> untouchedScore()
{
    auto score = std::make_unique<notivo::Score>();
    score->placeNote(35, 9, notivo::NoteId::Half, notivo::Accidental::Flat);
    return score;
}

// Notes only on the played positions, with their values and no other
// accidental than a sharp or a flat; a rest alone at its position; the
// column count within the grid.  A failure says why and changed nothing;
// a score that was read comes back the same through the MusicXML writer.
inline void check(const notivo::ImportResult& result, const notivo::Score& score)
{
    using namespace notivo;
    if (result.ok != result.problem.isEmpty())
        __builtin_trap();
    if (!result.ok) {
        if (score.ScoreNotes.cell(35, 9) != NoteId::Half || score.ColumnCount != 9)
            __builtin_trap();
        return;
    }
    if (score.ColumnCount < 0 || score.ColumnCount > ScoreColumns)
        __builtin_trap();
    for (int c = 1; c <= ScoreColumns; ++c)
        for (int p = 1; p <= ScorePositions; ++p) {
            const int id = score.ScoreNotes.cell(p, c), accidental = score.ScoreAccidentals.cell(p, c);
            const bool note = id >= NoteId::Semiquaver && id <= NoteId::Whole;
            if ((id != 0 && c > score.ColumnCount) || (note && p > PlayedPositions) || accidental > Accidental::Flat ||
                (accidental != 0 && !note) || (!note && id != 0 && !(isRestId(id) && p == RestPosition)))
                __builtin_trap();
        }
    auto again = std::make_unique<Score>();
    const ImportResult back = readMusicXml(musicXml(score, 110, QStringLiteral("P")), *again);
    if (!back.ok || again->ColumnCount != score.ColumnCount || again->ScoreNotes != score.ScoreNotes ||
        again->ScoreAccidentals != score.ScoreAccidentals)
        __builtin_trap();
}

} // namespace fuzzchecks
