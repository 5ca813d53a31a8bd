#include "platform/raster/RatioPicture.h"

#include "platform/raster/CanvasScale.h"

#include <QHash>
#include <QPixmap>
#include <cmath>
#include <utility>

namespace platform::raster {
namespace {

QString twinPath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (dot <= slash)
        return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

// The largest picture there is and its ratio: the twin, or the 1x file.
std::pair<QImage, qreal> sharpest(const QString& path)
{
    QImage twin(twinPath(path));
    if (!twin.isNull())
        return {twin, 2.0};
    return {QImage(path), 1.0};
}

// Scales in 32 bits: Qt's smooth scaling of one-bit pictures crashes.
QImage resized(const QImage& image, QSize size, Qt::TransformationMode mode)
{
    const QImage::Format wide = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return image.convertToFormat(wide).scaled(size, Qt::IgnoreAspectRatio, mode);
}

QImage resampled(const QString& path, qreal ratio)
{
    if (ratio <= 1.0)
        return QImage(path);
    auto [source, sourceRatio] = sharpest(path);
    if (source.isNull())
        return source;
    const QSize logical = source.size() / sourceRatio;
    if (ratio != sourceRatio) {
        // Whole-number enlargements keep hard pixel edges; anything else is smoothed.
        const bool whole = ratio / sourceRatio == std::floor(ratio / sourceRatio);
        source = resized(source, deviceSize(logical, ratio), whole ? Qt::FastTransformation : Qt::SmoothTransformation);
    }
    source.setDevicePixelRatio(ratio);
    return source;
}

} // namespace

QImage pictureForRatio(const QString& path, qreal ratio)
{
    static QHash<std::pair<QString, qreal>, QImage> kept;
    const std::pair key(path, std::max<qreal>(ratio, 1.0));
    auto found = kept.constFind(key);
    if (found == kept.constEnd())
        found = kept.insert(key, resampled(path, key.second));
    return *found;
}

QIcon iconForRatio(const QString& path, qreal ratio)
{
    QIcon icon;
    for (qreal r : {1.0, 2.0})
        icon.addPixmap(QPixmap::fromImage(pictureForRatio(path, r)));
    if (ratio > 1.0 && ratio != 2.0)
        icon.addPixmap(QPixmap::fromImage(pictureForRatio(path, ratio)));
    return icon;
}

QImage stretchedPicture(const QString& path, QSize size, qreal ratio)
{
    if (ratio <= 1.0)
        return QImage(path).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage image = resized(sharpest(path).first, deviceSize(size, ratio), Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace platform::raster
