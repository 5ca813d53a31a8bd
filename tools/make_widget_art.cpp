// Draws the pictures of notivo's reusable widgets: the title-bar caps and
// strip, the caption-button faces, the seven-segment digit sheet and the
// About box pictures, each also at twice the size (<name>@2x.png) for
// high-density screens.  Usage: make_widget_art <notivo/resources/images>
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <utility>

namespace {

QString outDir;

bool save(const QImage& image, const QString& name)
{
    const QString path = QDir(outDir).filePath(name + ".png");
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
    return true;
}

QImage blank(int w, int h, QColor fill = Qt::black)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// ---- title bar --------------------------------------------------------------

const QColor BandStops[] = {QColor(118, 170, 252), QColor(38, 112, 236), QColor(10, 86, 224),
                             QColor(6, 76, 212),    QColor(4, 70, 200),    QColor(0, 56, 176)};

// The body of the band between its two light top rows and its dark foot
// row, at any height y from 2 to 28.
QColor bodyColour(double y)
{
    const double t = std::max(0.0, (y - 2) / 25.0); // 0..1 across the body
    const int i = t < 0.3 ? 1 : t < 0.6 ? 2 : t < 0.85 ? 3 : 4;
    const double lo = i == 1 ? 0 : i == 2 ? 0.3 : i == 3 ? 0.6 : 0.85;
    const double hi = i == 1 ? 0.3 : i == 2 ? 0.6 : i == 3 ? 0.85 : 1.0;
    const double f = (t - lo) / (hi - lo);
    const QColor a = BandStops[i], b = BandStops[i + 1];
    return QColor(int(a.red() + (b.red() - a.red()) * f), int(a.green() + (b.green() - a.green()) * f),
                  int(a.blue() + (b.blue() - a.blue()) * f));
}

// The band is a vertical gradient only, so the 2-pixel middle can be stretched
// to any width and its top 7 rows double as the resize strip.
QColor bandColour(int y)
{
    if (y <= 0) return BandStops[0];
    if (y == 1) return QColor(70, 140, 248);
    if (y >= 28) return BandStops[5];
    return bodyColour(y);
}

// Row `row` of the band drawn at `scale`: the top rows and the foot keep
// their colours, the body is sampled at the middle of each image row.
QColor bandColour(int row, int scale)
{
    if (scale == 1 || row < 2 * scale)
        return bandColour(row / scale);
    const double y = (row + 0.5) / scale - 0.5;
    return y >= 28 - 0.5 / scale ? BandStops[5] : bodyColour(y);
}

QImage titlebarBand(int w, int scale)
{
    QImage image = blank(w * scale, 29 * scale);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, bandColour(y, scale));
    return image;
}

QImage titlebarCap(bool left, int scale)
{
    const int w = left ? 20 : 17;
    QImage image = titlebarBand(w, scale);
    QPainter p(&image);
    p.scale(scale, scale);
    // A lighter rim on the outer side and a rounded outer top corner; the
    // window's own shape trims what lies outside the curve.
    const int edge = left ? 0 : w - 1;
    p.fillRect(edge, 4, 1, 25, left ? QColor(90, 150, 250) : QColor(0, 44, 150));
    const QColor outside(0, 32, 112);
    if (scale == 1) {
        for (int y = 0; y < 4; ++y) {
            const int n = 4 - y - (y > 1 ? 1 : 0);
            for (int i = 0; i < n; ++i)
                image.setPixelColor(left ? i : w - 1 - i, y, outside);
        }
        return image;
    }
    // At 2x the corner is a smooth quarter circle.
    p.setRenderHint(QPainter::Antialiasing);
    const double cx = left ? 4.6 : w - 4.6;
    QPainterPath corner;
    corner.addRect(QRectF(left ? 0 : w - 5, 0, 5, 5));
    QPainterPath inside;
    inside.addEllipse(QPointF(cx, 4.6), 4.2, 4.2);
    p.fillPath(corner.subtracted(inside), outside);
    return image;
}

// ---- caption buttons --------------------------------------------------------

QImage captionFace(int h, bool red, bool pressed, int scale)
{
    QImage image = blank(21 * scale, h * scale, QColor(0, 70, 200));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QLinearGradient g(0, 0, 0, h);
    if (red) {
        g.setColorAt(0, pressed ? QColor(196, 70, 50) : QColor(238, 120, 96));
        g.setColorAt(0.5, pressed ? QColor(170, 40, 20) : QColor(222, 70, 40));
        g.setColorAt(1, pressed ? QColor(140, 30, 14) : QColor(196, 48, 24));
    } else {
        g.setColorAt(0, pressed ? QColor(176, 194, 222) : QColor(236, 242, 252));
        g.setColorAt(0.5, pressed ? QColor(150, 170, 204) : QColor(208, 220, 240));
        g.setColorAt(1, pressed ? QColor(126, 148, 186) : QColor(180, 198, 228));
    }
    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 20, h - 1), 3, 3);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(red ? QColor(120, 24, 10) : QColor(70, 96, 150), 1));
    p.drawRoundedRect(QRectF(1.5, 1.5, 18, h - 3), 2.5, 2.5);
    return image;
}

QImage captionClose(bool pressed, int scale)
{
    QImage image = captionFace(21, true, pressed, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const double s = pressed ? 1 : 0;
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(6.5 + s, 6.5 + s), QPointF(14.5 + s, 14.5 + s));
    p.drawLine(QPointF(14.5 + s, 6.5 + s), QPointF(6.5 + s, 14.5 + s));
    return image;
}

QImage captionMinimise(bool pressed, int scale)
{
    QImage image = captionFace(21, false, pressed, scale);
    QPainter p(&image);
    p.scale(scale, scale);
    const int s = pressed ? 1 : 0;
    p.fillRect(5 + s, 13 + s, 7, 3, QColor(30, 44, 90));
    return image;
}

QImage captionMaximise(bool pressed, int scale)
{
    const int h = pressed ? 20 : 21;
    QImage image = captionFace(h, false, pressed, scale);
    QPainter p(&image);
    p.scale(scale, scale);
    const int s = pressed ? 1 : 0;
    const QColor ink(30, 44, 90);
    p.fillRect(5 + s, 5 + s, 11, 3, ink); // thick top like a caption
    // The window outline, the pixels 5..15 on each side.
    p.fillRect(5 + s, 5 + s, 11, 1, ink);
    p.fillRect(5 + s, 15 + s, 11, 1, ink);
    p.fillRect(5 + s, 5 + s, 1, 11, ink);
    p.fillRect(15 + s, 5 + s, 1, 11, ink);
    return image;
}

// ---- digit sheet ------------------------------------------------------------

// Seven segments on an 8 x 15 cell: a top, b upper right, c lower right,
// d bottom, e lower left, f upper left, g middle.
void segment(QImage& sheet, int ox, int oy, char seg, QColor c)
{
    auto px = [&](int x, int y) { sheet.setPixelColor(ox + x, oy + y, c); };
    switch (seg) {
    case 'a': for (int x = 1; x <= 6; ++x) px(x, 0); for (int x = 2; x <= 5; ++x) px(x, 1); break;
    case 'd': for (int x = 1; x <= 6; ++x) px(x, 14); for (int x = 2; x <= 5; ++x) px(x, 13); break;
    case 'g': for (int x = 1; x <= 6; ++x) px(x, 7); for (int x = 2; x <= 5; ++x) { px(x, 6); px(x, 8); } break;
    case 'f': for (int y = 1; y <= 6; ++y) px(0, y); for (int y = 2; y <= 5; ++y) px(1, y); break;
    case 'b': for (int y = 1; y <= 6; ++y) px(7, y); for (int y = 2; y <= 5; ++y) px(6, y); break;
    case 'e': for (int y = 8; y <= 13; ++y) px(0, y); for (int y = 9; y <= 12; ++y) px(1, y); break;
    case 'c': for (int y = 8; y <= 13; ++y) px(7, y); for (int y = 9; y <= 12; ++y) px(6, y); break;
    }
}

// The same segments as outlines on the cell's pixel grid, for the sheet at
// 2x: the ends are pointed where the pixels step in.
QPolygonF segmentOutline(char seg)
{
    switch (seg) {
    case 'a': return QPolygonF({{1, 0}, {7, 0}, {6, 2}, {2, 2}});
    case 'd': return QPolygonF({{2, 13}, {6, 13}, {7, 15}, {1, 15}});
    case 'g': return QPolygonF({{1, 7}, {2, 6}, {6, 6}, {7, 7}, {7, 8}, {6, 9}, {2, 9}, {1, 8}});
    case 'f': return QPolygonF({{0, 1}, {2, 2}, {2, 6}, {0, 7}});
    case 'b': return QPolygonF({{8, 1}, {8, 7}, {6, 6}, {6, 2}});
    case 'e': return QPolygonF({{0, 8}, {2, 9}, {2, 13}, {0, 14}});
    case 'c': return QPolygonF({{8, 8}, {8, 14}, {6, 13}, {6, 9}});
    }
    return {};
}

QImage digitSheet(int scale)
{
    static const char* lit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg",
                                  "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
    static const QColor bright[6] = {{0, 255, 0}, {0, 255, 255}, {0, 0, 255},
                                     {255, 0, 255}, {255, 0, 0}, {255, 255, 0}};
    static const QColor dark[6] = {{0, 64, 0}, {0, 64, 64}, {0, 0, 96},
                                   {64, 0, 64}, {96, 0, 0}, {64, 64, 0}};
    QImage sheet = blank(89 * scale, 96 * scale);
    if (scale == 1) {
        for (int row = 0; row < 6; ++row)
            for (int d = 0; d < 10; ++d) {
                const int ox = 9 * d, oy = 16 * row;
                for (char s : QByteArray("abcdefg"))
                    segment(sheet, ox, oy, s, dark[row]);
                for (const char* s = lit[d]; *s; ++s)
                    segment(sheet, ox, oy, *s, bright[row]);
            }
        return sheet;
    }
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.scale(scale, scale);
    for (int row = 0; row < 6; ++row)
        for (int d = 0; d < 10; ++d)
            for (char s : QByteArray("abcdefg")) {
                p.setBrush(std::strchr(lit[d], s) ? bright[row] : dark[row]);
                p.drawPolygon(segmentOutline(s).translated(9 * d, 16 * row));
            }
    return sheet;
}

// ---- About pictures ---------------------------------------------------------

QImage aboutProduct(int scale)
{
    QImage image = blank(64 * scale, 60 * scale, QColor(236, 233, 216));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QLinearGradient g(0, 0, 64, 60);
    g.setColorAt(0, QColor(255, 252, 232));
    g.setColorAt(1, QColor(214, 200, 150));
    p.setPen(QPen(QColor(120, 96, 40), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(3.5, 3.5, 56, 52), 6, 6);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(8, 16.5 + 7 * i), QPointF(55, 16.5 + 7 * i));
    // Two beamed quavers.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 24, 90));
    p.save();
    p.translate(22, 41);
    p.rotate(-20);
    p.drawEllipse(QRectF(-5, -3.5, 10, 7));
    p.restore();
    p.save();
    p.translate(42, 34);
    p.rotate(-20);
    p.drawEllipse(QRectF(-5, -3.5, 10, 7));
    p.restore();
    p.setPen(QPen(QColor(24, 24, 90), 2));
    p.drawLine(QPointF(26, 39), QPointF(26, 12));
    p.drawLine(QPointF(46, 32), QPointF(46, 6));
    p.setPen(QPen(QColor(24, 24, 90), 4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(25, 13), QPointF(47, 7));
    return image;
}

QImage aboutHidden(int scale)
{
    const int w = 138, h = 199;
    QImage image = blank(w * scale, h * scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QLinearGradient sky(0, 0, 0, 110);
    sky.setColorAt(0, QColor(40, 60, 140));
    sky.setColorAt(0.6, QColor(230, 130, 90));
    sky.setColorAt(1, QColor(255, 210, 140));
    p.fillRect(0, 0, w, 110, sky);
    QRadialGradient sun(92, 96, 30);
    sun.setColorAt(0, QColor(255, 250, 220));
    sun.setColorAt(0.3, QColor(255, 220, 150, 220));
    sun.setColorAt(1, QColor(255, 200, 140, 0));
    p.fillRect(0, 0, w, 110, sun);
    auto ridge = [&](const QColor& c, double base, double amp, double freq, double phase) {
        QPainterPath path(QPointF(0, h));
        for (int x = 0; x <= w; x += 2)
            path.lineTo(x, base - amp * (0.6 * std::sin(x * freq + phase) + 0.4 * std::sin(x * freq * 2.7 + phase * 1.3)));
        path.lineTo(w, h);
        path.closeSubpath();
        p.fillPath(path, c);
    };
    ridge(QColor(120, 80, 110), 92, 16, 0.045, 0.5);
    ridge(QColor(70, 50, 80), 104, 12, 0.07, 2.0);
    // The lake mirrors the sky, darker and rippled.
    QLinearGradient lake(0, 110, 0, 150);
    lake.setColorAt(0, QColor(200, 120, 90));
    lake.setColorAt(1, QColor(40, 50, 100));
    p.fillRect(0, 110, w, 40, lake);
    p.setPen(QPen(QColor(255, 230, 180, 140), 1));
    for (int i = 0; i < 9; ++i)
        p.drawLine(QPointF(78 + (i % 3) * 3, 113.5 + i * 3), QPointF(104 - (i % 3) * 3, 113.5 + i * 3));
    QLinearGradient shore(0, 150, 0, h);
    shore.setColorAt(0, QColor(40, 70, 40));
    shore.setColorAt(1, QColor(16, 30, 18));
    p.fillRect(0, 150, w, h - 150, shore);
    p.end();
    // Fine grain, as a photograph has.
    std::mt19937 rng(2005);
    std::uniform_int_distribution<int> grain(-6, 6);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int n = grain(rng);
            image.setPixelColor(x, y, QColor(qBound(0, c.red() + n, 255), qBound(0, c.green() + n, 255),
                                             qBound(0, c.blue() + n, 255)));
        }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    outDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const std::pair<const char*, std::function<QImage(int)>> pictures[] = {
        {"titlebar_left", [](int scale) { return titlebarCap(true, scale); }},
        {"titlebar_middle", [](int scale) { return titlebarBand(2, scale); }},
        {"titlebar_right", [](int scale) { return titlebarCap(false, scale); }},
        {"caption_minimise_pressed", [](int scale) { return captionMinimise(true, scale); }},
        {"caption_maximise_pressed", [](int scale) { return captionMaximise(true, scale); }},
        {"caption_close_pressed", [](int scale) { return captionClose(true, scale); }},
        {"caption_close", [](int scale) { return captionClose(false, scale); }},
        {"caption_maximise", [](int scale) { return captionMaximise(false, scale); }},
        {"caption_minimise", [](int scale) { return captionMinimise(false, scale); }},
        {"caption_blank", [](int scale) { return captionFace(21, false, false, scale); }},
        {"caption_blank_pressed", [](int scale) { return captionFace(21, false, true, scale); }},
        {"digits", digitSheet},
        {"about_product", aboutProduct},
        {"about_hidden", aboutHidden},
    };
    bool ok = true;
    for (const auto& [name, draw] : pictures)
        ok = ok && save(draw(1), QString::fromLatin1(name)) && save(draw(2), QString::fromLatin1(name) + "@2x");
    return ok ? 0 : 1;
}
