#pragma once
#include <QImage>
#include <QRect>

// True when, in `area` (logical pixels) of a window shot at device pixel
// ratio 2, some 2 x 2 block of screen pixels is not of one colour: the
// picture there has more detail than a 1x picture shown doubled.
inline bool finerThanDoubled(const QImage& shot, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = shot.pixel(2 * x, 2 * y);
            if (shot.pixel(2 * x + 1, 2 * y) != p || shot.pixel(2 * x, 2 * y + 1) != p ||
                shot.pixel(2 * x + 1, 2 * y + 1) != p)
                return true;
        }
    return false;
}
