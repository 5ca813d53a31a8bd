#include "platform/raster/Raster.h"

#include "platform/raster/CanvasScale.h"

#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <optional>

namespace platform::raster {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;

// Opaque formats must keep alpha 0xFF whatever the source holds.
inline QRgb alphaMaskOf(const QImage& dst)
{
    return dst.hasAlphaChannel() ? 0u : 0xFF000000u;
}

inline bool writable(const QImage& dst)
{
    if (dst.depth() == 32)
        return true;
    qWarning("platform::raster: destination image must have 32 bits per pixel");
    return false;
}

// One source pixel; 32-bit images are read in place, anything else through
// QImage::pixel (slow but exact, and nothing is allocated).
inline QRgb sourcePixel(const QImage& src, int x, int y)
{
    if (src.depth() == 32)
        return reinterpret_cast<const QRgb*>(src.constScanLine(y))[x];
    return src.pixel(x, y);
}

inline QRgb* row(QImage& dst, int y) { return reinterpret_cast<QRgb*>(dst.scanLine(y)); }

// A rectangle in image pixels, 64-bit so that mapping extreme logical
// arguments cannot overflow.
struct DeviceRect {
    std::int64_t x, y, w, h;
};

// The image pixels under the logical rectangle (x, y, w, h) of `image`.
DeviceRect deviceRect(const QImage& image, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h)
{
    const std::int64_t left = deviceX(image, x), top = deviceY(image, y);
    return {left, top, deviceX(image, x + w) - left, deviceY(image, y + h) - top};
}

// Fills the image pixels [x0, x1) x [y0, y1), clipped to the image.
void fillDevice(QImage& dst, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, QRgb colour)
{
    const int left = int(std::clamp<std::int64_t>(x0, 0, dst.width()));
    const int right = int(std::clamp<std::int64_t>(x1, 0, dst.width()));
    const int top = int(std::clamp<std::int64_t>(y0, 0, dst.height()));
    const int bottom = int(std::clamp<std::int64_t>(y1, 0, dst.height()));
    for (int y = top; y < bottom; ++y)
        std::fill(row(dst, y) + left, row(dst, y) + right, colour);
}

// A copy rectangle left after clipping: w x h image pixels from (sx, sy) to (x, y).
struct ClippedCopy {
    int x, y, w, h, sx, sy;
};

// Clips a same-size copy of the image rectangle `from` of the source onto
// the image rectangle `to` to both images.  At a fractional ratio the two
// may round to sizes one pixel apart: the copy takes the smaller, so it
// never reaches into a neighbouring picture of the source.  Nothing when
// nothing is left.
std::optional<ClippedCopy> clipCopy(const QImage& dst, const DeviceRect& to, const QImage& src,
                                    const DeviceRect& from)
{
    if (to.w <= 0 || to.h <= 0)
        return std::nullopt;
    // Work in 64 bits so extreme arguments cannot overflow.
    std::int64_t dx0 = to.x, dy0 = to.y, sx0 = from.x, sy0 = from.y;
    std::int64_t cw = std::min(to.w, from.w), ch = std::min(to.h, from.h);
    auto clipLow = [](std::int64_t& a, std::int64_t& b, std::int64_t& len) {
        const std::int64_t lowest = std::min(a, b);
        if (lowest < 0) {
            a -= lowest;
            b -= lowest;
            len += lowest;
        }
    };
    clipLow(dx0, sx0, cw);
    clipLow(dy0, sy0, ch);
    cw = std::min({cw, std::int64_t(dst.width()) - dx0, std::int64_t(src.width()) - sx0});
    ch = std::min({ch, std::int64_t(dst.height()) - dy0, std::int64_t(src.height()) - sy0});
    if (cw <= 0 || ch <= 0)
        return std::nullopt;
    return ClippedCopy{int(dx0), int(dy0), int(cw), int(ch), int(sx0), int(sy0)};
}

// The source index under the centre of destination index i of n, when a
// source span of m is mapped onto n (the identity when m == n).
inline std::int64_t centreSource(std::int64_t i, std::int64_t n, std::int64_t m) { return (2 * i + 1) * m / (2 * n); }

// Source index range [lo, hi) feeding destination index i of n when a
// source span of m is mapped onto n.  Shrinking gathers every source pixel
// that falls on the destination pixel; enlarging takes the one under its
// centre.
inline void sourceSpan(std::int64_t i, std::int64_t n, std::int64_t m, std::int64_t& lo, std::int64_t& hi)
{
    if (m >= n) {
        lo = i * m / n;
        hi = (i + 1) * m / n;
    } else {
        lo = centreSource(i, n, m);
        hi = lo + 1;
    }
}

// Clips the destination span [from, from + len) to [0, limit); returns the
// first and one-past-last destination offsets relative to `from`.
inline bool clipSpan(std::int64_t from, std::int64_t len, std::int64_t limit, std::int64_t& first, std::int64_t& last)
{
    first = std::max<std::int64_t>(0, -from);
    last = std::min<std::int64_t>(len, limit - from);
    return first < last;
}

} // namespace

void copy(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy)
{
    if (!writable(dst))
        return;
    const auto c = clipCopy(dst, deviceRect(dst, x, y, w, h), src, deviceRect(src, sx, sy, w, h));
    if (!c)
        return;
    const QRgb alpha = alphaMaskOf(dst);
    for (int j = 0; j < c->h; ++j) {
        QRgb* d = row(dst, c->y + j) + c->x;
        for (int i = 0; i < c->w; ++i)
            d[i] = sourcePixel(src, c->sx + i, c->sy + j) | alpha;
    }
}

void andCopy(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy)
{
    // Source pixels beyond the source image count as white: the destination
    // keeps its pixels there, so clipping to the source is exact.
    if (!writable(dst))
        return;
    const auto c = clipCopy(dst, deviceRect(dst, x, y, w, h), src, deviceRect(src, sx, sy, w, h));
    if (!c)
        return;
    const QRgb alpha = alphaMaskOf(dst);
    const bool direct = src.depth() == 32; // read whole source rows: a redraw makes ~1000 copies
    for (int j = 0; j < c->h; ++j) {
        QRgb* d = row(dst, c->y + j) + c->x;
        if (direct) {
            const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(c->sy + j)) + c->sx;
            for (int i = 0; i < c->w; ++i)
                d[i] = (d[i] & s[i]) | alpha;
            continue;
        }
        for (int i = 0; i < c->w; ++i)
            d[i] = (d[i] & sourcePixel(src, c->sx + i, c->sy + j)) | alpha;
    }
}

void stretchBlackOnWhite(QImage& dst, int x, int y, int w, int h,
                         const QImage& src, int sx, int sy, int sw, int sh, bool andWithDest)
{
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || !writable(dst))
        return;
    const DeviceRect to = deviceRect(dst, x, y, w, h);
    const DeviceRect from = deviceRect(src, sx, sy, sw, sh);
    if (to.w <= 0 || to.h <= 0 || from.w <= 0 || from.h <= 0)
        return;
    std::int64_t i0, i1, j0, j1;
    if (!clipSpan(to.x, to.w, dst.width(), i0, i1) || !clipSpan(to.y, to.h, dst.height(), j0, j1))
        return;
    const QRgb alpha = alphaMaskOf(dst);
    for (std::int64_t j = j0; j < j1; ++j) {
        std::int64_t rowLo, rowHi;
        sourceSpan(j, to.h, from.h, rowLo, rowHi);
        // Only the part of the span inside the source image carries ink.
        rowLo = std::max<std::int64_t>(rowLo + from.y, 0);
        rowHi = std::min<std::int64_t>(rowHi + from.y, src.height());
        QRgb* d = row(dst, int(to.y + j));
        for (std::int64_t i = i0; i < i1; ++i) {
            std::int64_t colLo, colHi;
            sourceSpan(i, to.w, from.w, colLo, colHi);
            colLo = std::max<std::int64_t>(colLo + from.x, 0);
            colHi = std::min<std::int64_t>(colHi + from.x, src.width());
            QRgb ink = kWhite;
            for (std::int64_t sj = rowLo; sj < rowHi; ++sj)
                for (std::int64_t si = colLo; si < colHi; ++si)
                    ink &= sourcePixel(src, int(si), int(sj));
            QRgb& target = d[to.x + i];
            target = (andWithDest ? (target & ink) : ink) | alpha;
        }
    }
}

void alphaBlendRect(QImage& dst, int x, int y, int w, int h,
                    const QImage& src, int sx, int sy, int sw, int sh, int alpha)
{
    if (sw == -1)
        sw = w;
    if (sh == -1)
        sh = h;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || !writable(dst))
        return;
    const DeviceRect to = deviceRect(dst, x, y, w, h);
    const DeviceRect from = deviceRect(src, sx, sy, sw, sh);
    if (to.w <= 0 || to.h <= 0 || from.w <= 0 || from.h <= 0)
        return;
    std::int64_t i0, i1, j0, j1;
    if (!clipSpan(to.x, to.w, dst.width(), i0, i1) || !clipSpan(to.y, to.h, dst.height(), j0, j1))
        return;
    const std::uint32_t a = std::uint32_t(std::clamp(alpha, 0, 255));
    const std::uint32_t keep = 255 - a;
    const QRgb opaqueMask = alphaMaskOf(dst);
    // Each channel: (src * a + dst * (255 - a)) / 255 rounded to the nearest
    // integer.  The exact quotient is never a half, so there are no ties;
    // alpha 255 gives the source and alpha 0 the destination exactly.
    auto mix = [a, keep](std::uint32_t s, std::uint32_t d) { return (s * a + d * keep + 127) / 255; };
    for (std::int64_t j = j0; j < j1; ++j) {
        const std::int64_t srcRow = centreSource(j, to.h, from.h) + from.y;
        if (srcRow < 0 || srcRow >= src.height())
            continue; // nothing to blend from beyond the source
        QRgb* d = row(dst, int(to.y + j));
        for (std::int64_t i = i0; i < i1; ++i) {
            const std::int64_t srcCol = centreSource(i, to.w, from.w) + from.x;
            if (srcCol < 0 || srcCol >= src.width())
                continue;
            const QRgb s = sourcePixel(src, int(srcCol), int(srcRow));
            QRgb& t = d[to.x + i];
            t = qRgba(int(mix(qRed(s), qRed(t))), int(mix(qGreen(s), qGreen(t))), int(mix(qBlue(s), qBlue(t))),
                      int(mix(qAlpha(s), qAlpha(t))))
                | opaqueMask;
        }
    }
}

void line(QImage& dst, int x1, int y1, int x2, int y2, QRgb colour)
{
    if (!writable(dst))
        return;
    const QRgb ink = colour | alphaMaskOf(dst);
    const int thick = lineWidth(dst);
    // A run of logical pixels [from, to] along a straight line covers the
    // image pixels where `from` begins up to where `to + 1` begins.
    if (y1 == y2) {
        if (x1 == x2)
            return;
        // The end point is excluded, so the run is [x1, x2) or (x2, x1].
        const std::int64_t from = x1 < x2 ? x1 : std::int64_t(x2) + 1;
        const std::int64_t to = x1 < x2 ? std::int64_t(x2) - 1 : x1;
        const std::int64_t top = deviceY(dst, y1);
        fillDevice(dst, deviceX(dst, from), top, deviceX(dst, to + 1), top + thick, ink);
        return;
    }
    if (x1 == x2) {
        const std::int64_t from = y1 < y2 ? y1 : std::int64_t(y2) + 1;
        const std::int64_t to = y1 < y2 ? std::int64_t(y2) - 1 : y1;
        const std::int64_t left = deviceX(dst, x1);
        fillDevice(dst, left, deviceY(dst, from), left + thick, deviceY(dst, to + 1), ink);
        return;
    }
    const QSize size = logicalSize(dst);
    // Both ends beyond the same edge: nothing of the line can show.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= size.width() && x2 >= size.width())
        || (y1 >= size.height() && y2 >= size.height()))
        return;

    // Bresenham; 64-bit error terms so far-away end points cannot overflow.
    const std::int64_t dx = std::abs(std::int64_t(x2) - x1);
    const std::int64_t dy = -std::abs(std::int64_t(y2) - y1);
    const int stepX = x1 < x2 ? 1 : -1;
    const int stepY = y1 < y2 ? 1 : -1;
    std::int64_t err = dx + dy;
    std::int64_t x = x1;
    std::int64_t y = y1;
    while (x != x2 || y != y2) {
        if (x >= 0 && y >= 0 && x < size.width() && y < size.height()) {
            const std::int64_t left = deviceX(dst, x), top = deviceY(dst, y);
            fillDevice(dst, left, top, left + thick, top + thick, ink);
        }
        const std::int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += stepX;
        }
        if (e2 <= dx) {
            err += dx;
            y += stepY;
        }
    }
}

void pset(QImage& dst, int x, int y, QRgb colour)
{
    const QSize size = logicalSize(dst);
    if (!writable(dst) || x < 0 || y < 0 || x >= size.width() || y >= size.height())
        return;
    const std::int64_t left = deviceX(dst, x), top = deviceY(dst, y);
    const int thick = lineWidth(dst);
    fillDevice(dst, left, top, left + thick, top + thick, colour | alphaMaskOf(dst));
}

} // namespace platform::raster
