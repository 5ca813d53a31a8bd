#pragma once
#include <QImage>
#include <QString>

namespace notivo {

// A picture of the widgets compiled into the program (":/images/<name>.png",
// or its @2x twin on a high-density screen) for drawing at the device pixel
// ratio `ratio`, as a 32-bit RGB image ready for raster copies; a null image
// when missing.
QImage widgetPicture(const QString& name, qreal ratio = 1.0);

} // namespace notivo
