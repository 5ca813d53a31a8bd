#pragma once
#include <QImage>
#include <QString>

namespace notivo {

class DigitalCounter;

// Redraws the elapsed-time display: minutes at x 1, seconds at x 14,
// hundredths at x 36 (all at y 3) in colour row CColor of the digit sheet,
// then the two colons as single pixels at x 12 and x 33, rows 7 and 14.
// The display is cleared to `background` first; the caller refreshes it.
void DisplayDigital(QImage& display, const QImage& sheet, DigitalCounter& counter,
                    const QString& Value0, const QString& Value1, const QString& Value2, int CColor,
                    const QColor& background = Qt::black);

// The digit sheet picture: ten digits by six colour rows, 89 x 96 pixels,
// drawn for a display at the device pixel ratio `ratio`.
QImage digitSheet(qreal ratio = 1.0);

} // namespace notivo
