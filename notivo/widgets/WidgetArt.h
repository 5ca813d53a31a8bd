#pragma once
#include <QImage>
#include <QString>

namespace notivo {

// A picture of the widgets compiled into the program (":/images/<name>.png"),
// as a 32-bit RGB image ready for raster copies; a null image when missing.
QImage widgetPicture(const QString& name);

} // namespace notivo
