#pragma once
// Small scores that the export tests write and read back.
#include "notivo/score/ScoreModel.h"

namespace exportscores {

using notivo::Accidental::Flat;
using notivo::Accidental::Sharp;
using notivo::NoteId::Half;
using notivo::NoteId::Quarter;
using notivo::NoteId::QuarterPause;
using notivo::NoteId::Quaver;
using notivo::NoteId::QuaverPause;
using notivo::NoteId::Whole;

// A chord whose shorter note on a lower position makes the whole note strike
// again, a quarter rest, a sharp, a flat, a quaver rest and a half note that
// crosses the first barline of the notation.
inline void fillSmallScore(notivo::Score& score)
{
    score.placeNote(10, 1, Whole, 0);  // G5
    score.placeNote(20, 1, Quarter, 0); // D4
    score.placeRest(2, QuarterPause);
    score.placeNote(12, 3, Quarter, Sharp); // E#5
    score.placeNote(17, 4, Quaver, Flat);   // Gb4
    score.placeRest(5, QuaverPause);
    score.placeNote(21, 6, Half, 0);        // C4
}

} // namespace exportscores
