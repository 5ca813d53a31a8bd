#include "platform/raster/Raster.h"

#include <QtGlobal>
#include <algorithm>
#include <cstdint>

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

// Clips a same-size copy rectangle to both images.  Returns false when
// nothing is left.
bool clipCopy(const QImage& dst, int& x, int& y, int& w, int& h, const QImage& src, int& sx, int& sy)
{
    if (w <= 0 || h <= 0)
        return false;
    // Work in 64 bits so extreme arguments cannot overflow.
    std::int64_t dx0 = x, dy0 = y, sx0 = sx, sy0 = sy, cw = w, ch = h;
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
        return false;
    x = int(dx0);
    y = int(dy0);
    sx = int(sx0);
    sy = int(sy0);
    w = int(cw);
    h = int(ch);
    return true;
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
    if (!writable(dst) || !clipCopy(dst, x, y, w, h, src, sx, sy))
        return;
    const QRgb alpha = alphaMaskOf(dst);
    for (int j = 0; j < h; ++j) {
        QRgb* d = row(dst, y + j) + x;
        for (int i = 0; i < w; ++i)
            d[i] = sourcePixel(src, sx + i, sy + j) | alpha;
    }
}

void andCopy(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy)
{
    // Source pixels beyond the source image count as white: the destination
    // keeps its pixels there, so clipping to the source is exact.
    if (!writable(dst) || !clipCopy(dst, x, y, w, h, src, sx, sy))
        return;
    const QRgb alpha = alphaMaskOf(dst);
    const bool direct = src.depth() == 32; // read whole source rows: a redraw makes ~1000 copies
    for (int j = 0; j < h; ++j) {
        QRgb* d = row(dst, y + j) + x;
        if (direct) {
            const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(sy + j)) + sx;
            for (int i = 0; i < w; ++i)
                d[i] = (d[i] & s[i]) | alpha;
            continue;
        }
        for (int i = 0; i < w; ++i)
            d[i] = (d[i] & sourcePixel(src, sx + i, sy + j)) | alpha;
    }
}

void stretchBlackOnWhite(QImage& dst, int x, int y, int w, int h,
                         const QImage& src, int sx, int sy, int sw, int sh, bool andWithDest)
{
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || !writable(dst))
        return;
    std::int64_t i0, i1, j0, j1;
    if (!clipSpan(x, w, dst.width(), i0, i1) || !clipSpan(y, h, dst.height(), j0, j1))
        return;
    const QRgb alpha = alphaMaskOf(dst);
    for (std::int64_t j = j0; j < j1; ++j) {
        std::int64_t rowLo, rowHi;
        sourceSpan(j, h, sh, rowLo, rowHi);
        // Only the part of the span inside the source image carries ink.
        rowLo = std::max<std::int64_t>(rowLo + sy, 0);
        rowHi = std::min<std::int64_t>(rowHi + sy, src.height());
        QRgb* d = row(dst, int(y + j));
        for (std::int64_t i = i0; i < i1; ++i) {
            std::int64_t colLo, colHi;
            sourceSpan(i, w, sw, colLo, colHi);
            colLo = std::max<std::int64_t>(colLo + sx, 0);
            colHi = std::min<std::int64_t>(colHi + sx, src.width());
            QRgb ink = kWhite;
            for (std::int64_t sj = rowLo; sj < rowHi; ++sj)
                for (std::int64_t si = colLo; si < colHi; ++si)
                    ink &= sourcePixel(src, int(si), int(sj));
            QRgb& target = d[x + i];
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
    std::int64_t i0, i1, j0, j1;
    if (!clipSpan(x, w, dst.width(), i0, i1) || !clipSpan(y, h, dst.height(), j0, j1))
        return;
    const std::uint32_t a = std::uint32_t(std::clamp(alpha, 0, 255));
    const std::uint32_t keep = 255 - a;
    const QRgb opaqueMask = alphaMaskOf(dst);
    // Each channel: (src * a + dst * (255 - a)) / 255 rounded to the nearest
    // integer.  The exact quotient is never a half, so there are no ties;
    // alpha 255 gives the source and alpha 0 the destination exactly.
    auto mix = [a, keep](std::uint32_t s, std::uint32_t d) { return (s * a + d * keep + 127) / 255; };
    for (std::int64_t j = j0; j < j1; ++j) {
        const std::int64_t srcRow = centreSource(j, h, sh) + sy;
        if (srcRow < 0 || srcRow >= src.height())
            continue; // nothing to blend from beyond the source
        QRgb* d = row(dst, int(y + j));
        for (std::int64_t i = i0; i < i1; ++i) {
            const std::int64_t srcCol = centreSource(i, w, sw) + sx;
            if (srcCol < 0 || srcCol >= src.width())
                continue;
            const QRgb s = sourcePixel(src, int(srcCol), int(srcRow));
            QRgb& t = d[x + i];
            t = qRgba(int(mix(qRed(s), qRed(t))), int(mix(qGreen(s), qGreen(t))), int(mix(qBlue(s), qBlue(t))),
                      int(mix(qAlpha(s), qAlpha(t))))
                | opaqueMask;
        }
    }
}

} // namespace platform::raster
