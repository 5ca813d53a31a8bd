#include <gtest/gtest.h>

#include "notivo/widgets/DigitFormat.h"
#include "notivo/widgets/DigitalCounter.h"
#include "notivo/widgets/DigitalDisplay.h"

using namespace notivo;

namespace {

// A sheet whose every pixel is distinct, so a copied cell tells where it came from.
QImage numberedSheet()
{
    QImage sheet(89, 96, QImage::Format_RGB32);
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            sheet.setPixel(x, y, qRgb(x, y, 7));
    return sheet;
}

QImage whiteTarget(int w = 80, int h = 30)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Columns a cell copies from a sheet 89 pixels wide: the last digit has no gap column.
int cellColumns(int digit) { return digit == 9 ? 8 : 9; }

// True when the block at (x, y) of `target` equals the sheet cell (sx, sy).
bool hasCell(const QImage& target, int x, int y, const QImage& sheet, int sx, int sy, int columns)
{
    for (int dy = 0; dy < 16; ++dy)
        for (int dx = 0; dx < columns; ++dx)
            if (target.pixel(x + dx, y + dy) != sheet.pixel(sx + dx, sy + dy))
                return false;
    return true;
}

int paintedPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != qRgb(255, 255, 255);
    return n;
}

} // namespace

TEST(DigitalCounter, CopiesOneCellPerCharacterAtRoundedPositions)
{
    struct Cell { int x, y, digit; };
    struct Case { const char* value; double x, y; int row; std::vector<Cell> cells; };
    const Case cases[] = {
        {"12", 1, 3, 0, {{1, 3, 1}, {10, 3, 2}}},
        {" 7 ", 0, 0, 0, {{0, 0, 7}}},                          // blanks at both ends removed
        {"1.5", 0, 0, 0, {{0, 0, 1}, {9, 0, 0}, {18, 0, 5}}},   // a point draws as 0
        {"9", 2.5, 1.5, 3, {{2, 2, 9}}},                        // halves go to the even neighbour
        {"34", 2.5, 0.5, 5, {{2, 0, 3}, {12, 0, 4}}},       // 2.5 -> 2 but 11.5 -> 12
        {"a-", 0, 0, 1, {{0, 0, 0}, {9, 0, 0}}},
    };
    const QImage sheet = numberedSheet();
    for (const Case& c : cases) {
        DigitalCounter counter;
        counter.setValue(QString::fromLatin1(c.value));
        EXPECT_EQ(counter.Value(), QString::fromLatin1(c.value));
        QImage target = whiteTarget();
        counter.Draw(c.x, c.y, sheet, target, c.row);
        for (const Cell& cell : c.cells)
            EXPECT_TRUE(hasCell(target, cell.x, cell.y, sheet, 9 * cell.digit, 16 * c.row, cellColumns(cell.digit)))
                << c.value << " cell at " << cell.x;
        int painted = 0;
        for (const Cell& cell : c.cells)
            painted += cellColumns(cell.digit) * 16;
        EXPECT_EQ(paintedPixels(target), painted) << c.value;
    }
}

TEST(DigitalCounter, EmptyOrBlankValueDrawsNothing)
{
    const QImage sheet = numberedSheet();
    for (const char* value : {"", "   "}) {
        DigitalCounter counter;
        counter.setValue(QString::fromLatin1(value));
        QImage target = whiteTarget();
        counter.Draw(0, 0, sheet, target, 0);
        EXPECT_EQ(paintedPixels(target), 0) << '"' << value << '"';
    }
}

TEST(DigitalCounter, RowThreeTakesCellsFromY48)
{
    const QImage sheet = numberedSheet();
    DigitalCounter counter;
    counter.setValue(QStringLiteral("6"));
    QImage target = whiteTarget();
    counter.Draw(0, 0, sheet, target, 3);
    EXPECT_EQ(target.pixel(0, 0), qRgb(54, 48, 7));
    EXPECT_EQ(target.pixel(8, 15), qRgb(62, 63, 7));
}

// The elapsed-time display drawn with the real digit sheet.
class DigitDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        sheet = digitSheet();
        ASSERT_EQ(sheet.size(), QSize(89, 96));
        display = QImage(59, 25, QImage::Format_RGB32);
        display.fill(Qt::white); // the display clears itself to black
    }
    void show(std::int32_t ms, int row)
    {
        const ElapsedTexts t = elapsedTexts(ms);
        DisplayDigital(display, sheet, counter, t.minutes, t.seconds, t.hundredths, row);
    }
    // Every pixel of the display as the layout says, with `minutesColumns`
    // of the first group expected (the rest is covered or black).
    void expectLayout(const QString& minutes, const QString& seconds, const QString& hundredths, int row)
    {
        QImage expected(59, 25, QImage::Format_RGB32);
        expected.fill(Qt::black);
        auto put = [&](const QString& text, int x0) {
            for (int i = 0; i < text.size(); ++i)
                for (int dy = 0; dy < 16; ++dy)
                    for (int dx = 0; dx < 9; ++dx) {
                        const int x = x0 + 9 * i + dx;
                        if (x < 59 && dx < cellColumns(text[i].unicode() - '0'))
                            expected.setPixel(x, 3 + dy, sheet.pixel(9 * (text[i].unicode() - '0') + dx, 16 * row + dy));
                    }
        };
        put(minutes, 1);
        put(seconds, 14);
        put(hundredths, 36);
        for (const QPoint p : {QPoint(33, 7), QPoint(33, 14), QPoint(12, 7), QPoint(12, 14)})
            expected.setPixelColor(p, ColorCycle(std::uint8_t(row)));
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 59; ++x)
                ASSERT_EQ(display.pixel(x, y), expected.pixel(x, y)) << "pixel " << x << "," << y;
    }

    QImage sheet, display;
    DigitalCounter counter;
};

TEST_F(DigitDisplay, ShowsTheWorkedTimesPixelForPixel)
{
    struct Case { std::int32_t ms; int row; const char* m; const char* s; const char* h; };
    const Case cases[] = {
        {0, 1, "0", "00", "00"}, {61005, 0, "1", "01", "00"}, {59999, 4, "0", "59", "99"}, {65, 5, "0", "00", "06"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        show(c.ms, c.row);
        expectLayout(QLatin1String(c.m), QLatin1String(c.s), QLatin1String(c.h), c.row);
    }
}

TEST_F(DigitDisplay, TenMinutesLeaveOnlyFourColumnsOfTheSecondMinuteDigit)
{
    show(10 * 60000 + 7 * 1000 + 420, 2);
    expectLayout(QStringLiteral("10"), QStringLiteral("07"), QStringLiteral("42"), 2);
    // x 10..13 still show the second minute digit (0), x 14 on is the seconds'.
    for (int dy = 0; dy < 16; ++dy)
        for (int dx = 0; dx < 4; ++dx)
            if (!(dx == 2 && (dy == 4 || dy == 11))) // the colon dots at x 12
                EXPECT_EQ(display.pixel(10 + dx, 3 + dy), sheet.pixel(dx, 32 + dy)) << dx << "," << dy;
    EXPECT_EQ(display.pixelColor(12, 7), QColor(0, 0, 255));
}

TEST_F(DigitDisplay, DigitSheetHasLitAndUnlitSegmentsOfEachRow)
{
    const QColor bright[6] = {{0, 255, 0}, {0, 255, 255}, {0, 0, 255}, {255, 0, 255}, {255, 0, 0}, {255, 255, 0}};
    const QColor dark[6] = {{0, 64, 0}, {0, 64, 64}, {0, 0, 96}, {64, 0, 64}, {96, 0, 0}, {64, 64, 0}};
    for (int row = 0; row < 6; ++row) {
        // The middle bar of 8 is lit, that of 0 unlit; the gap column is black.
        EXPECT_EQ(sheet.pixelColor(9 * 8 + 3, 16 * row + 7), bright[row]) << row;
        EXPECT_EQ(sheet.pixelColor(9 * 0 + 3, 16 * row + 7), dark[row]) << row;
        EXPECT_EQ(sheet.pixelColor(8, 16 * row + 7), QColor(0, 0, 0)) << row;
        EXPECT_EQ(sheet.pixelColor(3, 16 * row + 15), QColor(0, 0, 0)) << row;
    }
}
