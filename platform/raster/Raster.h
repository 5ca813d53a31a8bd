#pragma once
#include <QImage>

// Raster copies between images (all images are QImage::Format_RGB32 or
// ARGB32_Premultiplied).  Rectangles are clipped to both images; nothing is
// allocated per call.  Coordinates are logical pixels: an image with a device
// pixel ratio above 1 is drawn at its own resolution (see CanvasScale.h), and
// the source of a copy is a picture drawn for the destination's ratio.
namespace platform::raster {

// Plain copy (SRCCOPY) of w x h pixels from src (sx, sy) to dst (x, y).
void copy(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy);

// AND copy (SRCAND): each destination pixel becomes dst & src, so black ink
// of the source is added and white leaves the destination unchanged.
void andCopy(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy);

// Stretch copy of src (sx, sy, sw, sh) onto dst (x, y, w, h) that keeps black
// ink when shrinking: each destination pixel is the AND of the source pixels
// that land on it; then AND-combined with the destination when `andWithDest`.
void stretchBlackOnWhite(QImage& dst, int x, int y, int w, int h,
                         const QImage& src, int sx, int sy, int sw, int sh, bool andWithDest = true);

// Constant-alpha blend (source over, no per-pixel alpha) of src (sx, sy, sw,
// sh) stretched onto dst (x, y, w, h); alpha 0..255.  A source width or
// height of -1 means the destination's.  Each channel becomes
// (src * alpha + dst * (255 - alpha)) / 255 rounded to nearest; stretching
// takes the source pixel under each destination pixel's centre.
void alphaBlendRect(QImage& dst, int x, int y, int w, int h,
                    const QImage& src, int sx, int sy, int sw, int sh, int alpha);

// A one-pixel line from (x1, y1) to (x2, y2), the end point excluded (like
// LineTo), clipped to the image.  At a higher ratio every line is lineWidth()
// image pixels thick, starting on the image pixel where its logical row or
// column begins.
void line(QImage& dst, int x1, int y1, int x2, int y2, QRgb colour);

// One pixel (a dot of lineWidth() image pixels at a higher ratio); nothing
// outside the image.
void pset(QImage& dst, int x, int y, QRgb colour);

} // namespace platform::raster
