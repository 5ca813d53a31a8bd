#include <gtest/gtest.h>

#include "notivo/widgets/DigitFormat.h"

using namespace notivo;

TEST(DigitFormat, SplitsMillisecondsIntoMinutesSecondsAndMilliseconds)
{
    struct Case { std::int32_t ms; int minutes, seconds, millis; };
    const Case cases[] = {
        {0, 0, 0, 0},          {999, 0, 0, 999},         {1000, 0, 1, 0},
        {59999, 0, 59, 999},   {60000, 1, 0, 0},         {61005, 1, 1, 5},
        {599999, 9, 59, 999},  {600000, 10, 0, 0},       {3599999, 59, 59, 999},
        {3600000, 60, 0, 0},   {2147483647, 35791, 23, 647},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MinutesMil(c.ms), c.minutes) << c.ms;
        EXPECT_EQ(SecondsMil(c.ms), c.seconds) << c.ms;
        EXPECT_EQ(MilisecondsMil(c.ms), c.millis) << c.ms;
    }
}

TEST(DigitFormat, LeadingZerosPadsButNeverCuts)
{
    struct Case { const char* number; int zeros; const char* expected; };
    const Case cases[] = {
        {"7", 2, "07"}, {"123", 2, "123"}, {"", 3, "000"}, {"5", 3, "005"},
        {"45", 2, "45"}, {"9", 0, "9"},    {"9", -1, "9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeadingZeros(QString::fromLatin1(c.number), c.zeros), QString::fromLatin1(c.expected))
            << c.number << " " << c.zeros;
}

TEST(DigitFormat, ColorCycleGivesTheRowColoursThenBlack)
{
    const QColor expected[] = {{0, 255, 0}, {0, 255, 255}, {0, 0, 255}, {255, 0, 255},
                               {255, 0, 0}, {255, 255, 0}, {0, 0, 0},   {0, 0, 0}};
    for (int id = 0; id < 8; ++id)
        EXPECT_EQ(ColorCycle(std::uint8_t(id)), expected[id]) << id;
    EXPECT_EQ(ColorCycle(255), QColor(0, 0, 0));
}

TEST(DigitFormat, ElapsedTextsShowMinutesSecondsAndHundredths)
{
    struct Case { std::int32_t ms; const char* minutes; const char* seconds; const char* hundredths; };
    const Case cases[] = {
        {0, "0", "00", "00"},     {61005, "1", "01", "00"},  {59999, "0", "59", "99"},
        {65, "0", "00", "06"},    {9, "0", "00", "00"},      {990, "0", "00", "99"},
        {600000, "10", "00", "00"}, {754321, "12", "34", "32"},
    };
    for (const Case& c : cases) {
        const ElapsedTexts t = elapsedTexts(c.ms);
        EXPECT_EQ(t.minutes, QLatin1String(c.minutes)) << c.ms;
        EXPECT_EQ(t.seconds, QLatin1String(c.seconds)) << c.ms;
        EXPECT_EQ(t.hundredths, QLatin1String(c.hundredths)) << c.ms;
    }
}
