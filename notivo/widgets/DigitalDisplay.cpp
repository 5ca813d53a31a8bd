#include "notivo/widgets/DigitalDisplay.h"

#include "notivo/widgets/DigitFormat.h"
#include "notivo/widgets/DigitalCounter.h"
#include "notivo/widgets/WidgetArt.h"
#include "platform/raster/Raster.h"

namespace notivo {

void DisplayDigital(QImage& display, const QImage& sheet, DigitalCounter& counter,
                    const QString& Value0, const QString& Value1, const QString& Value2, int CColor,
                    const QColor& background)
{
    display.fill(background);
    counter.setValue(Value0);
    counter.Draw(1, 3, sheet, display, CColor);
    counter.setValue(Value1);
    counter.Draw(14, 3, sheet, display, CColor);
    counter.setValue(Value2);
    counter.Draw(36, 3, sheet, display, CColor);
    // The colons go on last, over anything a long minutes text left there.
    const QColor dot = ColorCycle(static_cast<std::uint8_t>(CColor));
    for (const QPoint p : {QPoint(33, 7), QPoint(33, 14), QPoint(12, 7), QPoint(12, 14)})
        platform::raster::pset(display, p.x(), p.y(), dot.rgb());
}

QImage digitSheet(qreal ratio)
{
    return widgetPicture(QStringLiteral("digits"), ratio);
}

} // namespace notivo
