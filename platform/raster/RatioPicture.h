#pragma once
#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

// Every picture of the programs comes as "name.png" and its twin
// "name@2x.png", drawn at twice the size.  This is the one place that picks
// between them by device pixel ratio.
namespace platform::raster {

// The picture at `path` for a device pixel ratio: at ratio 1 or below the 1x
// file exactly as it is; above it the @2x twin, resampled smoothly to the
// ratio when that is not 2.  The result carries the ratio as its
// devicePixelRatio and measures the 1x size times the ratio, rounded up, so
// painters draw it at its logical size and canvases copy it pixel for pixel.
// Without a twin the 1x file is scaled; a missing picture gives a null image.
// Pictures are read once and kept.
QImage pictureForRatio(const QString& path, qreal ratio);

// An icon of the picture for buttons on a screen of `ratio`: the 1x file,
// the @2x twin, and at a ratio between them the twin fitted to that ratio
// (an icon would otherwise enlarge its 1x picture there).
QIcon iconForRatio(const QString& path, qreal ratio);

// The picture stretched smoothly to a logical `size` at a device pixel ratio
// (at ratio 1, the 1x file stretched as it always was).
QImage stretchedPicture(const QString& path, QSize size, qreal ratio);

} // namespace platform::raster
