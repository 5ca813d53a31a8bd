#include "notivo/widgets/DigitalCounter.h"

#include "platform/chrome/Rounding.h"
#include "platform/raster/Raster.h"

namespace notivo {

void DigitalCounter::Draw(double X, double Y, const QImage& Source, QImage& Target, int Row) const
{
    // Only blanks are trimmed, as the counter's text is padded with them.
    QString s = value_;
    while (s.startsWith(QLatin1Char(' ')))
        s.remove(0, 1);
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    const int y = int(platform::roundHalfEven(Y));
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        const int d = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.unicode() - '0' : 0;
        const int x = int(platform::roundHalfEven(i * CellWidth + X));
        platform::raster::copy(Target, x, y, CellWidth, CellHeight, Source, CellWidth * d, CellHeight * Row);
    }
}

} // namespace notivo
