// Draws the pictures of notivo's reusable widgets: the title-bar caps and
// strip, the caption-button faces, the seven-segment digit sheet and the
// About box pictures.  Usage: make_widget_art <notivo/resources/images>
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <random>

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

// The band is a vertical gradient only, so the 2-pixel middle can be stretched
// to any width and its top 7 rows double as the resize strip.
QColor bandColour(int y)
{
    static const QColor stops[] = {QColor(118, 170, 252), QColor(38, 112, 236), QColor(10, 86, 224),
                                   QColor(6, 76, 212), QColor(4, 70, 200), QColor(0, 56, 176)};
    if (y <= 0) return stops[0];
    if (y == 1) return QColor(70, 140, 248);
    if (y >= 28) return stops[5];
    const double t = (y - 2) / 25.0; // 0..1 across the body
    const int i = t < 0.3 ? 1 : t < 0.6 ? 2 : t < 0.85 ? 3 : 4;
    const double lo = i == 1 ? 0 : i == 2 ? 0.3 : i == 3 ? 0.6 : 0.85;
    const double hi = i == 1 ? 0.3 : i == 2 ? 0.6 : i == 3 ? 0.85 : 1.0;
    const double f = (t - lo) / (hi - lo);
    const QColor a = stops[i], b = stops[i + 1];
    return QColor(int(a.red() + (b.red() - a.red()) * f), int(a.green() + (b.green() - a.green()) * f),
                  int(a.blue() + (b.blue() - a.blue()) * f));
}

QImage titlebarBand(int w)
{
    QImage image = blank(w, 29);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y, bandColour(y));
    return image;
}

QImage titlebarCap(bool left)
{
    const int w = left ? 20 : 17;
    QImage image = titlebarBand(w);
    QPainter p(&image);
    // A lighter rim on the outer side and a rounded outer top corner; the
    // window's own shape trims what lies outside the curve.
    const int edge = left ? 0 : w - 1;
    p.setPen(left ? QColor(90, 150, 250) : QColor(0, 44, 150));
    p.drawLine(edge, 4, edge, 28);
    const QColor outside(0, 32, 112);
    for (int y = 0; y < 4; ++y) {
        const int n = 4 - y - (y > 1 ? 1 : 0);
        for (int i = 0; i < n; ++i)
            image.setPixelColor(left ? i : w - 1 - i, y, outside);
    }
    return image;
}

// ---- caption buttons --------------------------------------------------------

QImage captionFace(int h, bool red, bool pressed)
{
    QImage image = blank(21, h, QColor(0, 70, 200));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
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

QImage captionClose(bool pressed)
{
    QImage image = captionFace(21, true, pressed);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = pressed ? 1 : 0;
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(6.5 + s, 6.5 + s), QPointF(14.5 + s, 14.5 + s));
    p.drawLine(QPointF(14.5 + s, 6.5 + s), QPointF(6.5 + s, 14.5 + s));
    return image;
}

QImage captionMinimise(bool pressed)
{
    QImage image = captionFace(21, false, pressed);
    QPainter p(&image);
    const int s = pressed ? 1 : 0;
    p.fillRect(5 + s, 13 + s, 7, 3, QColor(30, 44, 90));
    return image;
}

QImage captionMaximise(bool pressed)
{
    const int h = pressed ? 20 : 21;
    QImage image = captionFace(h, false, pressed);
    QPainter p(&image);
    const int s = pressed ? 1 : 0;
    const QColor ink(30, 44, 90);
    p.fillRect(5 + s, 5 + s, 11, 3, ink);                  // thick top like a caption
    p.setPen(ink);
    p.drawRect(5 + s, 5 + s, 10, 10);
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

QImage digitSheet()
{
    static const char* lit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg",
                                  "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
    static const QColor bright[6] = {{0, 255, 0}, {0, 255, 255}, {0, 0, 255},
                                     {255, 0, 255}, {255, 0, 0}, {255, 255, 0}};
    static const QColor dark[6] = {{0, 64, 0}, {0, 64, 64}, {0, 0, 96},
                                   {64, 0, 64}, {96, 0, 0}, {64, 64, 0}};
    QImage sheet = blank(89, 96);
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

// ---- About pictures ---------------------------------------------------------

QImage aboutProduct()
{
    QImage image = blank(64, 60, QColor(236, 233, 216));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
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

QImage aboutHidden()
{
    const int w = 138, h = 199;
    QImage image = blank(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
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
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
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
    const bool ok = save(titlebarCap(true), "titlebar_left") && save(titlebarBand(2), "titlebar_middle")
        && save(titlebarCap(false), "titlebar_right")
        && save(captionMinimise(true), "caption_minimise_pressed")
        && save(captionMaximise(true), "caption_maximise_pressed")
        && save(captionClose(true), "caption_close_pressed") && save(captionClose(false), "caption_close")
        && save(captionMaximise(false), "caption_maximise") && save(captionMinimise(false), "caption_minimise")
        && save(captionFace(21, false, false), "caption_blank")
        && save(captionFace(21, false, true), "caption_blank_pressed")
        && save(digitSheet(), "digits") && save(aboutProduct(), "about_product")
        && save(aboutHidden(), "about_hidden");
    return ok ? 0 : 1;
}
