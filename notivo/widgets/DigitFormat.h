#pragma once
#include <QColor>
#include <QString>
#include <cstdint>

namespace notivo {

// Formatting of the elapsed play time shown by the digit display.
int MinutesMil(std::int32_t ms);       // whole minutes
int SecondsMil(std::int32_t ms);       // seconds within the minute
int MilisecondsMil(std::int32_t ms);   // milliseconds within the second

// Puts "0" characters in front of Number up to Zeros characters; never cuts.
QString LeadingZeros(const QString& Number, int Zeros);

// The bright colour of a row of the digit sheet: 0 green, 1 cyan, 2 blue,
// 3 magenta, 4 red, 5 yellow; any other row is black.
QColor ColorCycle(std::uint8_t id);

// The three groups the display shows for t milliseconds: minutes without a
// leading zero, two-digit seconds and two-digit hundredths.
struct ElapsedTexts {
    QString minutes, seconds, hundredths;
};
ElapsedTexts elapsedTexts(std::int32_t ms);

} // namespace notivo
