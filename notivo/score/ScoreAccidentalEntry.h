#pragma once
#include <string_view>

namespace notivo {

class Score;

// Why an accidental entry could not be stored.
enum class AccidentalEntryError {
    None,
    NoComma,            // the entry has no "," between position and column
    NotANumber,         // position or column is not a number that fits 16 bits
    PositionOutOfRange, // position outside 1..40
    ColumnOutOfRange,   // column outside 1..500
};

// Stores one accidental given as text: `Offset` is "<position>,<column>" in
// decimal (each rounded to the nearest integer, halves to even), `MakeWhat` is
// "Sharp" or "Flat" (exact case).  Another word changes nothing and its numbers
// are not checked against the grid.  An empty entry does nothing.  On an error
// the grid is unchanged.  ScoreNotes is never touched.
AccidentalEntryError MakeSharpFlat(Score& score, std::string_view Offset, std::string_view MakeWhat);

} // namespace notivo
