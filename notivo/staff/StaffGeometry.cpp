#include "notivo/staff/StaffGeometry.h"

#include "notivo/staff/GlyphSheet.h"
#include "platform/chrome/Rounding.h"
#include "platform/raster/PictureBox.h"
#include "platform/raster/Raster.h"

#include <algorithm>
#include <array>

namespace notivo::staff {
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

// Clef and staff lines over a canvas that was just cleared.
void drawStaffInk(QImage& canvas, int y)
{
    const QPoint clef = clefOrigin(y);
    platform::raster::andCopy(canvas, clef.x(), clef.y(), ClefWidth, ClefHeight, clefImage(), 0, 0);
    for (int i = 0; i < StaffLineCount; ++i)
        drawHorizontalLine(canvas, staffLineY(y, i), 0, canvas.width());
}

} // namespace

int positionAt(double y) { return static_cast<int>(platform::roundHalfEven((y - 13.0) / 5.0)); }
int windowColumnAt(double x) { return static_cast<int>(platform::roundHalfEven((x - 30.0) / 16.0)); }

void drawHorizontalLine(QImage& canvas, int y, int x, int x2)
{
    // Canvases are 32-bit images; the raster copies refuse others too.
    if (canvas.depth() != 32 || y < 0 || y >= canvas.height())
        return;
    // From x towards x2, x2 excluded, whichever way the line runs.
    const long long first = x <= x2 ? x : static_cast<long long>(x2) + 1;
    const long long end = x <= x2 ? x2 : static_cast<long long>(x) + 1;
    const int from = static_cast<int>(std::clamp<long long>(first, 0, canvas.width()));
    const int to = static_cast<int>(std::clamp<long long>(end, 0, canvas.width()));
    auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
    std::fill(row + from, row + to, qRgb(0, 0, 0));
}

void Pentagram(QImage& canvas, int y)
{
    canvas.fill(Qt::white);
    drawStaffInk(canvas, y);
}

void Pentagram(platform::PictureBox& box, int y, bool Refresh)
{
    box.cls();
    drawStaffInk(box.image(), y);
    if (Refresh)
        box.refresh();
}

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

} // namespace notivo::staff
