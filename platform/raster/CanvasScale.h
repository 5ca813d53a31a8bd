#pragma once
#include <QImage>
#include <QSize>

// A canvas is a QImage drawn by the raster calls.  On a high-density screen
// it holds device pixels and carries the screen's device pixel ratio, while
// every drawing call still takes logical pixels; these rules say which image
// pixels a logical coordinate covers.  At ratio 1 each rule is the identity,
// so drawing at 1x is unchanged.
namespace platform::raster {

// The ratio a canvas is drawn at on a screen of `screenRatio`: never below 1,
// as a smaller image would only throw away pixels the screen has.
qreal canvasRatio(qreal screenRatio);

// The image size of a canvas of `logical` size at `ratio`: each side rounded
// up, so the image covers every device pixel the canvas touches.
QSize deviceSize(QSize logical, qreal ratio);

// A canvas's size in logical pixels (its image size at ratio 1).
QSize logicalSize(const QImage& canvas);

// The image column / row where logical column x / row y begins (nearest,
// halves to even).  The canvas's far edge maps onto the image's far edge, so
// whatever is drawn to the canvas's width or height reaches the last image
// pixel at any ratio.
long long deviceX(const QImage& canvas, long long x);
long long deviceY(const QImage& canvas, long long y);

// The thickness in image pixels of a one-pixel line or dot: the same for
// every line of a canvas, wherever it lies.
int lineWidth(const QImage& canvas);

} // namespace platform::raster
