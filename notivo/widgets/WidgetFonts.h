#pragma once
#include <QFont>
#include <QString>

namespace notivo {

// The fonts the windows ask for by their classic names, mapped onto fonts that
// exist here: "Arial" onto its metric twin Liberation Sans, "MS Sans Serif" and
// "Small Fonts" onto DejaVu Sans.  Point sizes are taken at 96 dots per inch,
// so text has the same pixel size on every screen and in offscreen images.
QString substituteFamily(const QString& family);
QFont substituteFont(const QString& family, double pointSize, bool bold = false);

} // namespace notivo
