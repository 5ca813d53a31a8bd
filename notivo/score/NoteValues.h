#pragma once
#include <cstdint>

#include "notivo/score/ScoreModel.h"

namespace notivo {

// The length of a note or rest value as notation writes it, in semiquavers
// (semiquaver 1, quaver 2, quarter 4, half 8, whole 16; the quaver pause 2
// and the quarter pause 4); 0 for an id that is neither.
constexpr int notatedSemiquavers(int id)
{
    switch (id) {
    case NoteId::Semiquaver: return 1;
    case NoteId::Quaver: return 2;
    case NoteId::Quarter: return 4;
    case NoteId::Half: return 8;
    case NoteId::Whole: return 16;
    case NoteId::QuarterPause: return 4;
    case NoteId::QuaverPause: return 2;
    default: return 0;
    }
}

// The note value whose length is nearest to `semiquavers` (of two equally
// near, the shorter); a semiquaver for anything shorter.
std::uint8_t nearestNoteValue(double semiquavers);

} // namespace notivo
