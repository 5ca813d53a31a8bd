#include "notivo/widgets/WidgetFonts.h"

#include "platform/chrome/Rounding.h"

#include <algorithm>

namespace notivo {

QString substituteFamily(const QString& family)
{
    if (family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    if (family.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0
        || family.compare(QLatin1String("Small Fonts"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("DejaVu Sans");
    return family;
}

QFont substituteFont(const QString& family, double pointSize, bool bold)
{
    QFont font(substituteFamily(family));
    font.setPixelSize(int(std::max(1L, platform::roundHalfEven(pointSize * 96.0 / 72.0))));
    font.setBold(bold);
    return font;
}

} // namespace notivo
