#pragma once
#include <QImage>
#include <QRect>

// Helpers of the canvas pixel tests.
namespace staff_test {

inline constexpr QRgb Black = 0xFF000000u;
inline constexpr QRgb White = 0xFFFFFFFFu;

inline QImage whiteCanvas(int width = 523, int height = 177)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(White);
    return image;
}

inline bool isInk(const QImage& image, int x, int y) { return image.pixel(x, y) == Black; }

// Number of pixels where two images of the same size differ.
inline int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.format() != QImage::Format_RGB32 || b.format() != QImage::Format_RGB32)
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            count += ra[x] != rb[x];
    }
    return count;
}

// The canvas expected after an AND copy of `source` from the sheet onto `base`
// with its top-left at `at`; sheet pixels beyond the sheet count as white.
inline QImage expectedAndCopy(const QImage& base, const QImage& sheet, const QRect& source, QPoint at)
{
    QImage expected = base.copy();
    for (int j = 0; j < source.height(); ++j)
        for (int i = 0; i < source.width(); ++i) {
            const int sx = source.x() + i, sy = source.y() + j, dx = at.x() + i, dy = at.y() + j;
            if (!sheet.valid(sx, sy) || !expected.valid(dx, dy))
                continue;
            if (sheet.pixel(sx, sy) == Black)
                expected.setPixel(dx, dy, Black);
        }
    return expected;
}

} // namespace staff_test
