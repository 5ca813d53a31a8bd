#include "notivo/score/NoteValues.h"

#include <cmath>

namespace notivo {

std::uint8_t nearestNoteValue(double semiquavers)
{
    std::uint8_t nearest = NoteId::Semiquaver;
    for (std::uint8_t id = NoteId::Quaver; id <= NoteId::Whole; ++id)
        if (std::abs(notatedSemiquavers(id) - semiquavers) < std::abs(notatedSemiquavers(nearest) - semiquavers))
            nearest = id;
    return nearest;
}

} // namespace notivo
