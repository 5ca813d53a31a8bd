#include "notivo/score/ScoreAccidentalEntry.h"

#include "notivo/score/ScoreModel.h"
#include "platform/chrome/Rounding.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

namespace notivo {
namespace {

// A plain decimal number ("12", "-3", "2.5"), rounded to a 16-bit integer
// with halves to even; anything else (letters, blanks, exponents, overflow) is not a number.
std::optional<int> toInt16(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool digits = false, point = false;
    for (std::size_t j = i; j < text.size(); ++j) {
        const char ch = text[j];
        if (ch >= '0' && ch <= '9')
            digits = true;
        else if (ch == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    if (!point && text.size() <= 6) {
        // Whole numbers, the usual case, need no floating point.
        const std::string_view body = text.substr(text[0] == '+' ? 1 : 0);
        int value = 0;
        const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
        if (ec != std::errc() || end != body.data() + body.size() || value < std::numeric_limits<std::int16_t>::min() ||
            value > std::numeric_limits<std::int16_t>::max())
            return std::nullopt;
        return value;
    }
    const std::string_view body = text.substr(text[0] == '+' ? 1 : 0);
    double value = 0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (ec != std::errc() || end != body.data() + body.size())
        return std::nullopt;
    if (!(value >= std::numeric_limits<std::int16_t>::min() - 0.5 && value <= std::numeric_limits<std::int16_t>::max() + 0.5))
        return std::nullopt;
    const long rounded = platform::roundHalfEven(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace

AccidentalEntryError MakeSharpFlat(Score& score, std::string_view Offset, std::string_view MakeWhat)
{
    if (Offset.empty())
        return AccidentalEntryError::None;
    const std::size_t comma = Offset.find(',');
    if (comma == std::string_view::npos)
        return AccidentalEntryError::NoComma;
    const std::optional<int> position = toInt16(Offset.substr(0, comma));
    const std::optional<int> column = toInt16(Offset.substr(comma + 1));
    if (!position || !column)
        return AccidentalEntryError::NotANumber;

    std::uint8_t code = 0;
    if (MakeWhat == "Sharp")
        code = Accidental::Sharp;
    else if (MakeWhat == "Flat")
        code = Accidental::Flat;
    else
        return AccidentalEntryError::None;

    if (*position < 1 || *position > ScorePositions)
        return AccidentalEntryError::PositionOutOfRange;
    if (*column < 1 || *column > ScoreColumns)
        return AccidentalEntryError::ColumnOutOfRange;
    score.ScoreAccidentals.set(*position, *column, code);
    return AccidentalEntryError::None;
}

} // namespace notivo
