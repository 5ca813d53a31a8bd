#include "notivo/widgets/DigitFormat.h"

#include <cmath>

namespace notivo {

namespace {
// Whole seconds, rounded down (also below zero).
std::int64_t wholeSeconds(std::int32_t ms)
{
    return static_cast<std::int64_t>(std::floor(ms / 1000.0));
}
} // namespace

int MinutesMil(std::int32_t ms)
{
    return static_cast<int>(wholeSeconds(ms) / 60);
}

int SecondsMil(std::int32_t ms)
{
    const std::int64_t s = wholeSeconds(ms);
    return static_cast<int>(s - 60 * (s / 60));
}

int MilisecondsMil(std::int32_t ms)
{
    return ms % 1000;
}

QString LeadingZeros(const QString& Number, int Zeros)
{
    if (Number.size() >= Zeros)
        return Number;
    return QString(Zeros - Number.size(), QLatin1Char('0')) + Number;
}

QColor ColorCycle(std::uint8_t id)
{
    switch (id) {
    case 0: return QColor(0, 255, 0);
    case 1: return QColor(0, 255, 255);
    case 2: return QColor(0, 0, 255);
    case 3: return QColor(255, 0, 255);
    case 4: return QColor(255, 0, 0);
    case 5: return QColor(255, 255, 0);
    default: return QColor(0, 0, 0);
    }
}

ElapsedTexts elapsedTexts(std::int32_t ms)
{
    return {QString::number(MinutesMil(ms)), LeadingZeros(QString::number(SecondsMil(ms)), 2),
            LeadingZeros(QString::number(MilisecondsMil(ms)), 3).left(2)};
}

} // namespace notivo
