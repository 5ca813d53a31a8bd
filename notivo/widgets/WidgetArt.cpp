#include "notivo/widgets/WidgetArt.h"

#include "platform/raster/RatioPicture.h"

namespace notivo {

QImage widgetPicture(const QString& name, qreal ratio)
{
    const QImage image = platform::raster::pictureForRatio(QStringLiteral(":/images/%1.png").arg(name), ratio);
    if (image.isNull())
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace notivo
