#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QSize>

#include <functional>

// A picture drawn in 1x pixels at `scale` (1, or 2 for its @2x twin): an
// image `scale` times `size`, filled with `fill` and painted antialiased
// through a painter scaled so that `draw` need not know the scale.
inline QImage paintScaled(QSize size, int scale, QImage::Format format, const QColor& fill,
                          const std::function<void(QPainter&)>& draw)
{
    QImage image(size * scale, format);
    image.fill(fill);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (scale != 1)
        painter.scale(scale, scale);
    draw(painter);
    painter.end();
    return image;
}
