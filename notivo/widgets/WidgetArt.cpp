#include "notivo/widgets/WidgetArt.h"

namespace notivo {

QImage widgetPicture(const QString& name)
{
    const QImage image(QStringLiteral(":/images/%1.png").arg(name));
    if (image.isNull())
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace notivo
