#pragma once
// The score the notivo benchmarks work on: all 500 columns used.
#include "notivo/score/ScoreModel.h"

namespace bench {

// Every column used as a user writes: chords of one to three notes of mixed
// values, some sharps and flats, a rest now and then.
inline notivo::Score fullScore()
{
    using namespace notivo;
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

} // namespace bench
