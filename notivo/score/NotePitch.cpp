#include "notivo/score/NotePitch.h"

#include <array>
#include <string_view>

namespace notivo {
namespace {

// Positions 15..21 form the base octave (B down to middle C); every other
// position is folded into it by whole octaves of 7 steps.
constexpr int BaseTop = 15;
constexpr int BaseBottom = 21;
constexpr std::array<int, 7> BaseInvertedPitch{56, 58, 60, 62, 63, 65, 67};
constexpr std::array<const char*, 7> LetterNames{"B", "A", "G", "F", "E", "D", "C"};
constexpr std::array<const char*, 7> SolfegeNames{"Ti", "La", "Sol", "Fa", "Mi", "Re", "Do"};

struct Folded {
    int base;   // 15..21
    int octave; // k: Lines = base + 7 k
};

Folded fold(int lines)
{
    // Whole octaves at once, so any position folds in constant time.
    int k = 0;
    if (lines > BaseBottom)
        k = (lines - BaseBottom + 6) / 7;
    else if (lines < BaseTop)
        k = -((BaseTop - lines + 6) / 7);
    return {lines - 7 * k, k};
}

} // namespace

std::int16_t FixNotes(int Lines, std::uint8_t SharpFlap)
{
    const Folded f = fold(Lines);
    const int adjust = SharpFlap == 1 ? -1 : SharpFlap == 2 ? 1 : 0;
    return static_cast<std::int16_t>(12 * f.octave + BaseInvertedPitch[f.base - BaseTop] + adjust);
}

QString NoteTip(int Lines, std::uint8_t SharpFlap, bool CDEStyle)
{
    const Folded f = fold(Lines);
    const char* name = (CDEStyle ? LetterNames : SolfegeNames)[f.base - BaseTop];
    const char* accidental = SharpFlap == 1 ? "#" : SharpFlap == 2 ? "b" : "";
    return QString::fromLatin1(name) + QLatin1String(accidental) + QLatin1Char(' ') + QString::number(2 - f.octave);
}

WrittenPitch writtenPitch(int Lines, std::uint8_t SharpFlap)
{
    const Folded f = fold(Lines);
    // The base octave 15..21 runs from B4 down to middle C (C4).
    return {LetterNames[f.base - BaseTop][0], 4 - f.octave, SharpFlap == 1 ? 1 : SharpFlap == 2 ? -1 : 0};
}

int staffPosition(char step, int octave)
{
    // Steps from C upwards; the position falls by one for each step up.
    constexpr std::string_view Steps = "CDEFGAB";
    const int index = int(Steps.find(step));
    return BaseBottom - 7 * (octave - 4) - index;
}

} // namespace notivo
