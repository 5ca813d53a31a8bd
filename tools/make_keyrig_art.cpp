// Draws keyrig's pictures: the shaded panel behind the window and the small
// symbols of the device, exit and beat controls, each also at twice the size
// (<name>@2x.png) for high-density screens.  Symbols are white shapes on
// transparency; the program tints them with the colour of their state.
//
//   make_keyrig_art <folder>   (normally keyrig/resources/images)

#include "tools/ScaledPainting.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>
#include <utility>

namespace {

bool save(const QImage& image, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// 119 x 59 panel: brushed dark steel with a lit top edge and a shadowed foot.
QImage background(int scale)
{
    constexpr int w = 119, h = 59;
    QImage image(w * scale, h * scale, QImage::Format_RGB888);
    QPainter p(&image);
    p.scale(scale, scale);
    QLinearGradient body(0, 0, 0, 59);
    body.setColorAt(0.0, QColor(92, 98, 110));
    body.setColorAt(0.08, QColor(70, 75, 86));
    body.setColorAt(0.55, QColor(44, 47, 56));
    body.setColorAt(0.92, QColor(30, 32, 38));
    body.setColorAt(1.0, QColor(18, 19, 23));
    p.fillRect(QRect(0, 0, w, h), body);

    QRadialGradient glow(30, 8, 60);
    glow.setColorAt(0.0, QColor(255, 255, 255, 36));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(QRect(0, 0, w, h), glow);

    // Fine horizontal grain.
    for (int y = 1; y < 58; y += 2)
        p.fillRect(0, y, 119, 1, QColor(255, 255, 255, (y * 7) % 5 + 2));

    // A lit top and left edge, a shadowed foot and right edge, one pixel each.
    p.fillRect(0, 0, 119, 1, QColor(140, 146, 158));
    p.fillRect(0, 0, 1, 59, QColor(140, 146, 158));
    p.fillRect(0, 58, 119, 1, QColor(10, 10, 12));
    p.fillRect(118, 0, 1, 59, QColor(10, 10, 12));
    return image;
}

QImage symbol(int width, int height, int scale, const std::function<void(QPainter&)>& draw)
{
    return paintScaled({width, height}, scale, QImage::Format_ARGB32_Premultiplied, Qt::transparent,
                       [&](QPainter& p) {
                           p.setPen(Qt::NoPen);
                           p.setBrush(Qt::white);
                           draw(p);
                       });
}

// A square box with a tick: the device choice.
void deviceSymbol(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1.6));
    p.drawRect(QRectF(2.5, 4.5, 12, 12));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(5, 10.5);
    tick.lineTo(8, 13.5);
    tick.lineTo(13, 6.5);
    p.drawPath(tick);
}

// A square box with a cross: leave the program.
void exitSymbol(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1.6));
    p.drawRect(QRectF(2.5, 4.5, 12, 12));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.5, 7.5), QPointF(11.5, 13.5));
    p.drawLine(QPointF(11.5, 7.5), QPointF(5.5, 13.5));
}

void introSymbol(QPainter& p) { p.drawPolygon(QPolygonF({{3, 2}, {12, 7}, {3, 12}})); }

void fillSymbol(QPainter& p)
{
    p.drawPolygon(QPolygonF({{1, 2}, {6, 7}, {1, 12}}));
    p.drawPolygon(QPolygonF({{6, 2}, {11, 7}, {6, 12}}));
    p.drawRect(QRectF(11, 2, 2, 10));
}

void pauseSymbol(QPainter& p)
{
    p.drawRect(QRectF(3, 2, 3, 10));
    p.drawRect(QRectF(8, 2, 3, 10));
}

void endingSymbol(QPainter& p) { p.drawPolygon(QPolygonF({{2, 3.5}, {12, 3.5}, {7, 11}})); }

void stopSymbol(QPainter& p) { p.drawRect(QRectF(3, 3, 8, 8)); }

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_keyrig_art <folder>\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const std::pair<const char*, std::function<QImage(int)>> pictures[] = {
        {"background", background},
        {"device", [](int scale) { return symbol(17, 21, scale, deviceSymbol); }},
        {"exit", [](int scale) { return symbol(17, 21, scale, exitSymbol); }},
        {"beat_intro", [](int scale) { return symbol(14, 14, scale, introSymbol); }},
        {"beat_fill", [](int scale) { return symbol(14, 14, scale, fillSymbol); }},
        {"beat_pause", [](int scale) { return symbol(14, 14, scale, pauseSymbol); }},
        {"beat_ending", [](int scale) { return symbol(14, 14, scale, endingSymbol); }},
        {"beat_stop", [](int scale) { return symbol(14, 14, scale, stopSymbol); }},
    };
    bool ok = true;
    for (const auto& [name, draw] : pictures) {
        ok = save(draw(1), folder, QStringLiteral("%1.png").arg(QLatin1String(name))) && ok;
        ok = save(draw(2), folder, QStringLiteral("%1@2x.png").arg(QLatin1String(name))) && ok;
    }
    return ok ? 0 : 1;
}
