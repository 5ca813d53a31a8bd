// Draws the note glyph sheet (102 x 80) and the treble clef (32 x 85) of the
// score editor as monochrome pictures, black ink on white, and both again at
// twice the size for high-density screens.
//
//   make_staff_art <output folder>   (writes glyphs.png, clef.png, glyphs@2x.png and clef@2x.png)
//
// The sheet layout (bands, cells, head rows, anchor shifts) is the one the
// staff view copies from; see notivo/staff/GlyphSheet.h.  The 1x shapes are
// set pixel by pixel; at 2x the same shapes are drawn as smooth outlines.
#include "notivo/staff/GlyphSheet.h"
#include "tools/ScaledPainting.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <cstring>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <span>
#include <utility>

using namespace notivo::staff;

namespace {

constexpr QRgb Ink = 0xFF000000u;
constexpr QRgb Paper = 0xFFFFFFFFu;

struct Sheet {
    QImage image;
    int scale = 1; // image pixels per sheet pixel
    void set(int x, int y, QRgb colour = Ink)
    {
        if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
            image.setPixel(x, y, colour);
    }
    bool inked(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < image.width() && y < image.height() && image.pixel(x, y) == Ink;
    }
};

// Inside test of the tilted 13 x 9 note head with its box's top-left at (0, 0).
bool insideHead(double px, double py, double shrink)
{
    constexpr double cx = 6.0, cy = 4.0, tilt = -0.35; // rises to the right
    const double dx = px - cx, dy = py - cy;
    const double u = dx * std::cos(tilt) + dy * std::sin(tilt);
    const double v = -dx * std::sin(tilt) + dy * std::cos(tilt);
    const double a = 6.9 - shrink, b = 4.1 - shrink;
    return (u * u) / (a * a) + (v * v) / (b * b) <= 1.0;
}

void drawHead(Sheet& s, int left, int top, bool filled)
{
    for (int j = 0; j < NoteHeadHeight; ++j)
        for (int i = 0; i < NoteHeadWidth; ++i) {
            if (!insideHead(i, j, 0.0))
                continue;
            // Hollow heads keep a one-pixel rim: a pixel with any neighbour outside.
            const bool rim = !insideHead(i - 1, j, 0.0) || !insideHead(i + 1, j, 0.0) || !insideHead(i, j - 1, 0.0) ||
                             !insideHead(i, j + 1, 0.0) || !insideHead(i, j, 1.7);
            if (filled || rim)
                s.set(left + i, top + j);
        }
    if (filled) {
        // A small highlight on the upper left of the head.
        s.set(left + 4, top + 3, Paper);
        s.set(left + 5, top + 3, Paper);
    }
}

void drawStem(Sheet& s, int x, int fromRow, int toRow)
{
    for (int y = fromRow; y <= toRow; ++y)
        s.set(x, y);
}

// A thin wavy flag leaving the stem top at (x, y) to the right; ink past
// `limit` (the cell's last column) is left off.
void drawFlag(Sheet& s, int x, int y, int limit)
{
    static constexpr std::pair<int, int> path[] = {
        {1, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {5, 6}, {6, 7}, {6, 8}, {6, 9}, {6, 10}, {5, 11}, {5, 12}, {4, 13},
    };
    for (auto [dx, dy] : path)
        if (x + dx <= limit)
            s.set(x + dx, y + dy);
    // A second pixel column near the stem gives the flag its weight.
    for (auto [dx, dy] : {std::pair{1, 2}, std::pair{2, 3}, std::pair{3, 4}})
        s.set(x + dx, y + dy);
}

// Sharp sign, 11 x 9, top-left at (x, y): two strokes crossed by two bars.
void drawSharp(Sheet& s, int x, int y)
{
    for (int j = 0; j < 9; ++j) {
        s.set(x + 3, y + j);
        s.set(x + 7, y + j);
    }
    for (int i = 0; i < 11; ++i) {
        s.set(x + i, y + 3 - (i >= 6 ? 1 : 0));
        s.set(x + i, y + 6 - (i >= 6 ? 1 : 0));
    }
}

// Flat sign, 5 x 8, top-left at (x, y): a stroke with a bowl at its foot.
void drawFlat(Sheet& s, int x, int y)
{
    for (int j = 0; j < 8; ++j)
        s.set(x, y + j);
    for (auto [dx, dy] : {std::pair{1, 3}, std::pair{2, 3}, std::pair{3, 4}, std::pair{3, 5}, std::pair{2, 6},
                          std::pair{1, 7}})
        s.set(x + dx, y + dy);
}

QImage smoothInk(int width, int height, int scale, const std::function<void(QPainter&)>& draw)
{
    return paintScaled({width, height}, scale, QImage::Format_RGB32, Qt::white, draw);
}

// Copies an anti-aliased drawing as one-bit ink (threshold at half grey).
void stamp(Sheet& s, const QImage& grey, int x, int y)
{
    for (int j = 0; j < grey.height(); ++j)
        for (int i = 0; i < grey.width(); ++i)
            if (qGray(grey.pixel(i, j)) < 128)
                s.set(x + i, y + j);
}

// ---- the same shapes as outlines, for the sheet at 2x ----------------------

// A shape given in sheet pixels, drawn smoothly at the sheet's scale inside
// `clip` and kept as one-bit ink.
void inkPainting(Sheet& s, const QRectF& clip, const std::function<void(QPainter&)>& draw)
{
    const QImage grey = smoothInk(s.image.width() / s.scale, s.image.height() / s.scale, s.scale, [&](QPainter& p) {
        p.setClipRect(clip);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        draw(p);
    });
    stamp(s, grey, 0, 0);
}

// The outline of a shape given as rows of '#' runs, one run per row: each
// row's run ends, joined from row middle to row middle, so the staircase of
// the pixels becomes a smooth edge.
QPolygonF rowOutline(double x, double y, std::span<const char* const> rows)
{
    QPolygonF left, right;
    double j = y;
    for (const char* row : rows) {
        const char* first = std::strchr(row, '#');
        if (first) {
            const char* last = std::strrchr(row, '#');
            left.prepend(QPointF(x + (first - row), j + 0.5));
            right.append(QPointF(x + (last - row) + 1, j + 0.5));
        }
        j += 1;
    }
    // Close the ends flat at the first and last inked rows' outer edges.
    right.prepend(QPointF(right.first().x(), right.first().y() - 0.5));
    right.append(QPointF(right.last().x(), right.last().y() + 0.5));
    left.prepend(QPointF(left.first().x(), left.first().y() + 0.5));
    left.append(QPointF(left.last().x(), left.last().y() - 0.5));
    return right + left;
}

void drawHeadOutline(Sheet& s, int left, int top, bool filled)
{
    const int n = s.scale;
    for (int j = 0; j < NoteHeadHeight * n; ++j)
        for (int i = 0; i < NoteHeadWidth * n; ++i) {
            // The centre of image pixel (i, j) in the head box's pixel coordinates.
            const double px = (i + 0.5) / n - 0.5, py = (j + 0.5) / n - 0.5;
            if (!insideHead(px, py, 0.0))
                continue;
            if (filled || !insideHead(px, py, 1.6))
                s.set(left * n + i, top * n + j);
        }
    if (filled) {
        // The highlight, a small oval on the upper left.
        for (int j = 0; j < NoteHeadHeight * n; ++j)
            for (int i = 0; i < NoteHeadWidth * n; ++i) {
                const double px = (i + 0.5) / n - 0.5, py = (j + 0.5) / n - 0.5;
                const double u = (px - 4.5) / 1.05, v = (py - 3.0) / 0.6;
                if (u * u + v * v <= 1.0)
                    s.set(left * n + i, top * n + j, Paper);
            }
    }
}

void drawStemOutline(Sheet& s, int x, int fromRow, int toRow)
{
    inkPainting(s, QRectF(x, fromRow, 1, toRow - fromRow + 1), [&](QPainter& p) {
        p.drawRect(QRectF(x, fromRow, 1, toRow - fromRow + 1));
    });
}

// The flag leaves the stem top at (x, y) as a thin wavy stroke, heavier near
// the stem; what passes the cell's last column is cut off.
void drawFlagOutline(Sheet& s, int x, int y, int limit)
{
    inkPainting(s, QRectF(x, y, limit + 1 - x, 16), [&](QPainter& p) {
        QPainterPath f;
        f.moveTo(x + 1.3, y + 0.2);
        f.cubicTo(x + 2.2, y + 2.8, x + 6.7, y + 5.0, x + 6.8, y + 9.0);
        f.cubicTo(x + 6.8, y + 11.0, x + 5.7, y + 12.6, x + 4.6, y + 13.9);
        p.strokePath(f, QPen(Qt::black, 1.15, Qt::SolidLine, Qt::FlatCap));
        QPainterPath weight(QPointF(x + 1.3, y + 1.0));
        weight.lineTo(x + 3.9, y + 4.7);
        p.strokePath(weight, QPen(Qt::black, 1.2, Qt::SolidLine, Qt::FlatCap));
    });
}

// Sharp sign, 11 x 9 from (x, y): two upright strokes, two bars rising to the right.
void drawSharpOutline(Sheet& s, int x, int y)
{
    inkPainting(s, QRectF(x, y, 11, 9), [&](QPainter& p) {
        p.drawRect(QRectF(x + 3, y, 1, 9));
        p.drawRect(QRectF(x + 7, y, 1, 9));
        for (double bar : {3.5, 6.5}) {
            QPolygonF b;
            b << QPointF(x, y + bar - 0.45) << QPointF(x + 11, y + bar - 1.55) << QPointF(x + 11, y + bar - 0.45)
              << QPointF(x, y + bar + 0.65);
            p.drawPolygon(b);
        }
    });
}

// Flat sign, 5 x 8 from (x, y): an upright stroke with a bowl at its foot.
void drawFlatOutline(Sheet& s, int x, int y)
{
    inkPainting(s, QRectF(x, y, 5, 8), [&](QPainter& p) {
        p.drawRect(QRectF(x, y, 1, 8));
        QPainterPath bowl;
        bowl.moveTo(x + 0.5, y + 3.4);
        bowl.cubicTo(x + 2.6, y + 2.6, x + 4.5, y + 3.6, x + 4.0, y + 5.2);
        bowl.cubicTo(x + 3.6, y + 6.4, x + 2.3, y + 7.3, x + 0.5, y + 8.0);
        bowl.lineTo(x + 0.5, y + 7.0);
        bowl.cubicTo(x + 1.9, y + 6.3, x + 3.0, y + 5.6, x + 3.0, y + 4.9);
        bowl.cubicTo(x + 3.0, y + 4.0, x + 1.9, y + 3.9, x + 0.5, y + 4.6);
        bowl.closeSubpath();
        p.drawPath(bowl);
    });
}

// Rests are small enough to be drawn pixel by pixel ('#' is ink).
void stampRows(Sheet& s, int x, int y, std::span<const char* const> rows)
{
    int j = 0;
    for (const char* row : rows) {
        for (int i = 0; row[i]; ++i)
            if (row[i] == '#')
                s.set(x + i, y + j);
        ++j;
    }
}

// The quarter rest's rows, drawn pixel by pixel at 1x and as their outline at 2x.
constexpr const char* QuarterRestRows[] = {
    ".........", ".#.......", ".##......", "..##.....", "..###....", "...###...", "...####..",
    "....####.", "....####.", "...####..", "..####...", ".####....", ".###.....", ".###.....",
    "..###....", "...###...", "....###..", ".....##..", "...####..", "..###....", ".##......",
    ".##......", ".##......", "..##.....", "...#.....",
};

void drawQuarterRest(Sheet& s) { stampRows(s, QuarterPauseCell.left, QuarterPauseCell.top, QuarterRestRows); }

void drawQuarterRestOutline(Sheet& s)
{
    const RestCell& c = QuarterPauseCell;
    inkPainting(s, QRectF(c.left, c.top, c.width, c.height),
                [&](QPainter& p) { p.drawPolygon(rowOutline(c.left, c.top, QuarterRestRows)); });
}

constexpr const char* QuaverRestRows[] = {
    "...........", ".##........", "####.......", "####.....##", ".###....##.", "..#####.##.",
    ".......##..", ".......##..", "......##...", "......##...", ".....##....", ".....##....",
    "....##.....", "....##.....", "...##......", "...##......", "...........",
};

void drawQuaverRest(Sheet& s) { stampRows(s, QuaverPauseCell.left, QuaverPauseCell.top, QuaverRestRows); }

// A blob with a tail, and a stem slanting down to the left.
void drawQuaverRestOutline(Sheet& s)
{
    const RestCell& c = QuaverPauseCell;
    const double x = c.left, y = c.top;
    inkPainting(s, QRectF(x, y, c.width, c.height), [&](QPainter& p) {
        p.drawEllipse(QPointF(x + 2.2, y + 3.1), 2.1, 1.75);
        QPainterPath tail;
        tail.moveTo(x + 2.6, y + 4.4);
        tail.quadTo(x + 6.2, y + 6.9, x + 10.6, y + 3.1);
        tail.lineTo(x + 10.9, y + 4.0);
        tail.quadTo(x + 6.4, y + 7.4, x + 2.2, y + 5.2);
        tail.closeSubpath();
        p.drawPath(tail);
        QPolygonF stem;
        stem << QPointF(x + 9.2, y + 3.2) << QPointF(x + 11.0, y + 3.2) << QPointF(x + 5.0, y + 16.0)
             << QPointF(x + 3.2, y + 16.0);
        p.drawPolygon(stem);
    });
}

// How one sheet draws its shapes: pixel by pixel, or as outlines.
struct Shapes {
    void (*head)(Sheet&, int left, int top, bool filled);
    void (*stem)(Sheet&, int x, int fromRow, int toRow);
    void (*flag)(Sheet&, int x, int y, int limit);
    void (*sharp)(Sheet&, int x, int y);
    void (*flat)(Sheet&, int x, int y);
    void (*quarterRest)(Sheet&);
    void (*quaverRest)(Sheet&);
};
constexpr Shapes PixelShapes{drawHead, drawStem, drawFlag, drawSharp, drawFlat, drawQuarterRest, drawQuaverRest};
constexpr Shapes OutlineShapes{drawHeadOutline,  drawStemOutline,        drawFlagOutline,      drawSharpOutline,
                               drawFlatOutline,  drawQuarterRestOutline, drawQuaverRestOutline};

void drawNoteCell(Sheet& s, const Shapes& draw, const NoteCell& cell, const GlyphBand& band, int id, int accidental)
{
    const int left = cell.left;
    const int headTop = band.top + band.headTop;
    const bool filled = id <= 3;
    draw.head(s, left + cell.headLeft, headTop, filled);

    const int stemTop = band.top + (accidental == 1 ? 2 : 0);
    if (cell.stem >= 0)
        draw.stem(s, left + cell.stem, stemTop, headTop + 4);
    const int lastColumn = left + cell.width - 1;
    if (id == 2)
        draw.flag(s, left + cell.stem, stemTop, lastColumn);
    if (id == 1) {
        draw.flag(s, left + cell.stem, stemTop, lastColumn);
        draw.flag(s, left + cell.stem, stemTop + 4, lastColumn);
    }

    if (accidental == 1) {
        if (cell.stem >= 0)
            draw.sharp(s, left + cell.headLeft, band.top);
        else
            draw.sharp(s, left + 1, headTop - 10);
    } else if (accidental == 2) {
        if (cell.stem >= 0)
            draw.flat(s, left + cell.stem - 7, band.top + 1);
        else
            draw.flat(s, left + 4, headTop - 9);
    }
}

QImage makeSheet(int scale, const Shapes& draw)
{
    Sheet s{QImage(GlyphSheetWidth * scale, GlyphSheetHeight * scale, QImage::Format_RGB32), scale};
    s.image.fill(Paper);
    const std::pair<int, const NoteCell*> notes[] = {
        {1, &SemiquaverCell}, {2, &QuaverCell}, {3, &QuarterCell}, {4, &HalfCell}, {5, &WholeCell}};
    for (int accidental = 0; accidental <= 2; ++accidental)
        for (auto [id, cell] : notes)
            drawNoteCell(s, draw, *cell, *glyphBand(accidental), id, accidental);
    draw.quarterRest(s);
    draw.quaverRest(s);
    for (int y = SpareBlockTop * scale; y < (SpareBlockTop + SpareBlockHeight) * scale; ++y)
        for (int x = SpareBlockLeft * scale; x < (SpareBlockLeft + SpareBlockWidth) * scale; ++x)
            s.set(x, y);
    return s.image;
}

// Treble clef: the stroke starts at the ball of the tail, rises as the stem,
// loops over the top, comes down across the stem and winds in around the G
// line, which lies 50 rows below the picture's top when the clef is placed.
QImage makeClef(int scale)
{
    const QImage grey = smoothInk(ClefWidth, ClefHeight, scale, [](QPainter& p) {
        QPen pen(Qt::black, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        QPainterPath path;
        path.moveTo(9.5, 76.0);
        path.cubicTo(10.5, 82.5, 19.5, 82.5, 19.0, 74.0);
        path.cubicTo(18.5, 60.0, 14.0, 30.0, 15.0, 14.0);
        path.cubicTo(15.5, 6.0, 17.5, 2.0, 19.5, 2.5);
        path.cubicTo(23.5, 3.5, 23.0, 12.0, 18.0, 19.0);
        path.cubicTo(13.0, 26.0, 8.0, 31.0, 6.5, 37.0);
        // The body winds inwards around (16.5, 50).
        constexpr double cx = 16.5, cy = 50.0;
        constexpr double pi = 3.14159265358979;
        for (int step = 0; step <= 60; ++step) {
            const double t = step / 60.0;
            const double phi = (160.0 + t * 430.0) * pi / 180.0;
            const double r = 12.0 - 8.0 * t;
            path.lineTo(cx + r * std::cos(phi), cy - r * std::sin(phi));
        }
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(11.5, 76.0), 3.2, 3.2);
        // The body's sides carry more weight than its top and bottom.
        QPen heavy(Qt::black, 3.4, Qt::SolidLine, Qt::RoundCap);
        p.setPen(heavy);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(cx - 12.0, cy - 12.0, 24.0, 24.0), 165 * 16, 40 * 16);
        p.drawArc(QRectF(cx - 10.5, cy - 10.5, 21.0, 21.0), -25 * 16, 45 * 16);
    });
    Sheet s{QImage(ClefWidth * scale, ClefHeight * scale, QImage::Format_RGB32), scale};
    s.image.fill(Paper);
    stamp(s, grey, 0, 0);
    return s.image;
}

bool save(const QImage& image, const QString& path)
{
    const QImage mono = image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::MonoOnly);
    if (!mono.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_staff_art <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const bool ok = save(makeSheet(1, PixelShapes), out.filePath("glyphs.png"))
        && save(makeClef(1), out.filePath("clef.png"))
        && save(makeSheet(2, OutlineShapes), out.filePath("glyphs@2x.png"))
        && save(makeClef(2), out.filePath("clef@2x.png"));
    return ok ? 0 : 1;
}
