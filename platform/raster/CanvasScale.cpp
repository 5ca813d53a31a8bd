#include "platform/raster/CanvasScale.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace platform::raster {
namespace {

// Ratios of 1.5 or 1.25 are exact in binary; the margin only absorbs the
// rounding of ratios such as 1.1.
constexpr double Margin = 1e-6;

long long deviceEdge(long long e, qreal ratio, int logicalExtent, int deviceExtent)
{
    if (ratio == 1.0)
        return e;
    if (e >= logicalExtent)
        return deviceExtent + std::llrint(double(e - logicalExtent) * ratio);
    return std::llrint(double(e) * ratio);
}

} // namespace

qreal canvasRatio(qreal screenRatio) { return std::max<qreal>(1.0, screenRatio); }

QSize deviceSize(QSize logical, qreal ratio)
{
    return {qCeil(logical.width() * ratio - Margin), qCeil(logical.height() * ratio - Margin)};
}

QSize logicalSize(const QImage& canvas)
{
    const qreal ratio = canvas.devicePixelRatio();
    if (ratio == 1.0)
        return canvas.size();
    return {qFloor(canvas.width() / ratio + Margin), qFloor(canvas.height() / ratio + Margin)};
}

long long deviceX(const QImage& canvas, long long x)
{
    return deviceEdge(x, canvas.devicePixelRatio(), logicalSize(canvas).width(), canvas.width());
}

long long deviceY(const QImage& canvas, long long y)
{
    return deviceEdge(y, canvas.devicePixelRatio(), logicalSize(canvas).height(), canvas.height());
}

int lineWidth(const QImage& canvas) { return std::max(1, int(std::lrint(canvas.devicePixelRatio()))); }

} // namespace platform::raster
