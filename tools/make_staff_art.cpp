// Draws the note glyph sheet (102 x 80) and the treble clef (32 x 85) of the
// score editor as monochrome pictures, black ink on white.
//
//   make_staff_art <output folder>   (writes glyphs.png and clef.png)
//
// The sheet layout (bands, cells, head rows, anchor shifts) is the one the
// staff view copies from; see notivo/staff/GlyphSheet.h.
#include "notivo/staff/GlyphSheet.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <utility>

using namespace notivo::staff;

namespace {

constexpr QRgb Ink = 0xFF000000u;
constexpr QRgb Paper = 0xFFFFFFFFu;

struct Sheet {
    QImage image;
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

void drawNoteCell(Sheet& s, const NoteCell& cell, const GlyphBand& band, int id, int accidental)
{
    const int left = cell.left;
    const int headTop = band.top + band.headTop;
    const bool filled = id <= 3;
    drawHead(s, left + cell.headLeft, headTop, filled);

    const int stemTop = band.top + (accidental == 1 ? 2 : 0);
    if (cell.stem >= 0)
        drawStem(s, left + cell.stem, stemTop, headTop + 4);
    const int lastColumn = left + cell.width - 1;
    if (id == 2)
        drawFlag(s, left + cell.stem, stemTop, lastColumn);
    if (id == 1) {
        drawFlag(s, left + cell.stem, stemTop, lastColumn);
        drawFlag(s, left + cell.stem, stemTop + 4, lastColumn);
    }

    if (accidental == 1) {
        if (cell.stem >= 0)
            drawSharp(s, left + cell.headLeft, band.top);
        else
            drawSharp(s, left + 1, headTop - 10);
    } else if (accidental == 2) {
        if (cell.stem >= 0)
            drawFlat(s, left + cell.stem - 7, band.top + 1);
        else
            drawFlat(s, left + 4, headTop - 9);
    }
}

QImage smoothInk(int width, int height, const std::function<void(QPainter&)>& draw)
{
    QImage grey(width, height, QImage::Format_RGB32);
    grey.fill(Qt::white);
    QPainter painter(&grey);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return grey;
}

// Copies an anti-aliased drawing as one-bit ink (threshold at half grey).
void stamp(Sheet& s, const QImage& grey, int x, int y)
{
    for (int j = 0; j < grey.height(); ++j)
        for (int i = 0; i < grey.width(); ++i)
            if (qGray(grey.pixel(i, j)) < 128)
                s.set(x + i, y + j);
}

// Rests are small enough to be drawn pixel by pixel ('#' is ink).
void stampRows(Sheet& s, int x, int y, std::initializer_list<const char*> rows)
{
    int j = 0;
    for (const char* row : rows) {
        for (int i = 0; row[i]; ++i)
            if (row[i] == '#')
                s.set(x + i, y + j);
        ++j;
    }
}

void drawQuarterRest(Sheet& s)
{
    stampRows(s, QuarterPauseCell.left, QuarterPauseCell.top,
              {".........", ".#.......", ".##......", "..##.....", "..###....", "...###...", "...####..",
               "....####.", "....####.", "...####..", "..####...", ".####....", ".###.....", ".###.....",
               "..###....", "...###...", "....###..", ".....##..", "...####..", "..###....", ".##......",
               ".##......", ".##......", "..##.....", "...#....."});
}

void drawQuaverRest(Sheet& s)
{
    stampRows(s, QuaverPauseCell.left, QuaverPauseCell.top,
              {"...........", ".##........", "####.......", "####.....##", ".###....##.", "..#####.##.",
               ".......##..", ".......##..", "......##...", "......##...", ".....##....", ".....##....",
               "....##.....", "....##.....", "...##......", "...##......", "..........."});
}

QImage makeSheet()
{
    Sheet s{QImage(GlyphSheetWidth, GlyphSheetHeight, QImage::Format_RGB32)};
    s.image.fill(Paper);
    const std::pair<int, const NoteCell*> notes[] = {
        {1, &SemiquaverCell}, {2, &QuaverCell}, {3, &QuarterCell}, {4, &HalfCell}, {5, &WholeCell}};
    for (int accidental = 0; accidental <= 2; ++accidental)
        for (auto [id, cell] : notes)
            drawNoteCell(s, *cell, *glyphBand(accidental), id, accidental);
    drawQuarterRest(s);
    drawQuaverRest(s);
    for (int y = SpareBlockTop; y < SpareBlockTop + SpareBlockHeight; ++y)
        for (int x = SpareBlockLeft; x < SpareBlockLeft + SpareBlockWidth; ++x)
            s.set(x, y);
    return s.image;
}

// Treble clef: the stroke starts at the ball of the tail, rises as the stem,
// loops over the top, comes down across the stem and winds in around the G
// line, which lies 50 rows below the picture's top when the clef is placed.
QImage makeClef()
{
    const QImage grey = smoothInk(ClefWidth, ClefHeight, [](QPainter& p) {
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
    Sheet s{QImage(ClefWidth, ClefHeight, QImage::Format_RGB32)};
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
    const bool ok = save(makeSheet(), out.filePath("glyphs.png")) && save(makeClef(), out.filePath("clef.png"));
    return ok ? 0 : 1;
}
