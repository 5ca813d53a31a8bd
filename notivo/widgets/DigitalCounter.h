#pragma once
#include <QImage>
#include <QString>

namespace notivo {

// Draws its text as a row of 9 x 16 digit cells copied from a sprite sheet:
// digit k of colour row c sits at (9k, 16c) on the sheet.
class DigitalCounter {
public:
    static constexpr int CellWidth = 9;
    static constexpr int CellHeight = 16;

    QString Value() const { return value_; }
    void setValue(const QString& value) { value_ = value; }

    // Copies one cell per character of the trimmed text, the first at
    // (X, Y) rounded half to even, each next one 9 pixels to the right.  A
    // character that is not a digit draws the glyph 0.  Nothing else is
    // drawn or cleared.
    void Draw(double X, double Y, const QImage& Source, QImage& Target, int Row) const;

private:
    QString value_;
};

} // namespace notivo
