// Draws the pictures of the editor's tool palette: one per note value and
// rest, the accidental and mode boxes, the two cursor options and the Step
// button, each also at twice the size for high-density screens.
// Usage: make_palette_art <output folder>  (notivo/resources/images)
#include "tools/ScaledPainting.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr int Size = 21; // the buttons are 25 x 25 (23 x 26 for the cursor options)
const QColor Ink(0, 0, 0);

void head(QPainter& p, QPointF centre, bool filled)
{
    p.save();
    p.translate(centre);
    p.rotate(-25);
    QPainterPath oval;
    oval.addEllipse(QPointF(0, 0), 3.6, 2.6);
    if (filled) {
        p.fillPath(oval, Ink);
    } else {
        QPainterPath hole;
        hole.addEllipse(QPointF(0, 0), 2.6, 1.3);
        p.fillPath(oval.subtracted(hole), Ink);
    }
    p.restore();
}

void wholeNote(QPainter& p)
{
    p.save();
    p.translate(10.5, 11);
    p.rotate(-15);
    QPainterPath oval;
    oval.addEllipse(QPointF(0, 0), 5.5, 3.8);
    QPainterPath hole;
    hole.addEllipse(QPointF(0, 0), 2.4, 3.0);
    p.fillPath(oval.subtracted(hole), Ink);
    p.restore();
}

void stem(QPainter& p, double x, double top, double bottom) { p.fillRect(QRectF(x, top, 1.2, bottom - top), Ink); }

void flag(QPainter& p, double x, double y)
{
    QPainterPath f;
    f.moveTo(x, y);
    f.cubicTo(x + 1.5, y + 3, x + 5.5, y + 4, x + 4.5, y + 8.5);
    f.cubicTo(x + 4.2, y + 6, x + 2.5, y + 4.5, x, y + 3.5);
    f.closeSubpath();
    p.fillPath(f, Ink);
}

void note(QPainter& p, int flags, bool filled)
{
    const QPointF centre(8.5, 15.5);
    head(p, centre, filled);
    const double x = centre.x() + 2.6;
    stem(p, x, 2.5, centre.y());
    for (int i = 0; i < flags; ++i)
        flag(p, x + 0.6, 2.5 + 4.0 * i);
}

void quarterRest(QPainter& p)
{
    QPolygonF z;
    z << QPointF(8, 2) << QPointF(13, 7.5) << QPointF(10, 10.5) << QPointF(13.5, 14.5) << QPointF(11.5, 14.5);
    QPainterPath path;
    path.addPolygon(z);
    QPen pen(Ink, 2.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.strokePath(path, pen);
    QPainterPath hook;
    hook.moveTo(12, 14.5);
    hook.cubicTo(8, 13.5, 7.5, 17.5, 11, 19.5);
    p.strokePath(hook, QPen(Ink, 1.6));
}

void quaverRest(QPainter& p)
{
    p.setBrush(Ink);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(8.5, 7.5), 2.2, 2.2);
    QPainterPath arm;
    arm.moveTo(8.5, 9.5);
    arm.cubicTo(10.5, 10, 12.5, 9, 14, 6.5);
    arm.lineTo(9.5, 18.5);
    p.strokePath(arm, QPen(Ink, 1.5));
}

void sharp(QPainter& p)
{
    const QPen pen(Ink, 1.2);
    p.setPen(pen);
    p.drawLine(QPointF(8.5, 3), QPointF(8.5, 18.5));
    p.drawLine(QPointF(12.5, 2), QPointF(12.5, 17.5));
    p.setPen(QPen(Ink, 2.2));
    p.drawLine(QPointF(5.5, 8.5), QPointF(15.5, 6.5));
    p.drawLine(QPointF(5.5, 13.5), QPointF(15.5, 11.5));
}

void flat(QPainter& p)
{
    p.setPen(QPen(Ink, 1.3));
    p.drawLine(QPointF(7.5, 2), QPointF(7.5, 18.5));
    QPainterPath bowl;
    bowl.moveTo(7.5, 18.5);
    bowl.cubicTo(12, 16, 15.5, 12.5, 13.5, 10.5);
    bowl.cubicTo(11.5, 8.8, 9, 10.5, 7.5, 12);
    p.strokePath(bowl, QPen(Ink, 1.8));
}

void selectBand(QPainter& p)
{
    QPen dashed(QColor(0, 85, 255), 1.0, Qt::DashLine);
    p.fillRect(QRectF(3, 3, 15, 15), QColor(0, 85, 255, 70));
    p.setPen(dashed);
    p.drawRect(QRectF(3.5, 3.5, 14, 14));
    // A small arrow pointer dragging the band.
    QPolygonF arrow;
    arrow << QPointF(11, 10) << QPointF(11, 19) << QPointF(13.2, 16.8) << QPointF(15, 20.5) << QPointF(16.5, 19.8)
          << QPointF(14.8, 16.2) << QPointF(17.8, 16.2);
    p.setPen(QPen(Qt::white, 0.8));
    p.setBrush(Ink);
    p.drawPolygon(arrow);
}

void insertGap(QPainter& p)
{
    p.setPen(QPen(QColor(0, 0, 255), 1.0));
    p.drawLine(QPointF(10.5, 1), QPointF(10.5, 20));
    p.setPen(QPen(Ink, 1.2));
    for (double x : {5.5, 15.5}) {
        p.drawLine(QPointF(x, 4), QPointF(x, 17));
    }
    QPolygonF left, right;
    left << QPointF(1, 10.5) << QPointF(4, 8) << QPointF(4, 13);
    right << QPointF(20, 10.5) << QPointF(17, 8) << QPointF(17, 13);
    p.setBrush(Ink);
    p.setPen(Qt::NoPen);
    p.drawPolygon(left);
    p.drawPolygon(right);
}

void deleteColumn(QPainter& p)
{
    p.fillRect(QRectF(7, 2, 7, 17), QColor(255, 0, 0, 60));
    p.setPen(QPen(QColor(200, 0, 0), 2.0));
    p.drawLine(QPointF(5, 5), QPointF(16, 16));
    p.drawLine(QPointF(16, 5), QPointF(5, 16));
    QPolygonF arrow;
    arrow << QPointF(14, 19.5) << QPointF(18, 17) << QPointF(18, 20.5);
    p.setPen(QPen(Ink, 1.0));
    p.drawLine(QPointF(18, 19), QPointF(20.5, 19));
    p.setBrush(Ink);
    p.setPen(Qt::NoPen);
    p.drawPolygon(arrow);
}

void pencil(QPainter& p)
{
    p.save();
    p.translate(10.5, 10.5);
    p.rotate(45);
    p.fillRect(QRectF(-2.5, -9, 5, 13), QColor(240, 200, 40));
    p.fillRect(QRectF(-2.5, -10.5, 5, 2), QColor(230, 120, 140));
    QPolygonF tip;
    tip << QPointF(-2.5, 4) << QPointF(2.5, 4) << QPointF(0, 9);
    p.setBrush(QColor(235, 210, 170));
    p.setPen(Qt::NoPen);
    p.drawPolygon(tip);
    QPolygonF lead;
    lead << QPointF(-0.9, 7.2) << QPointF(0.9, 7.2) << QPointF(0, 9);
    p.setBrush(Ink);
    p.drawPolygon(lead);
    p.setPen(QPen(QColor(120, 90, 0), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(-2.5, -9, 5, 13));
    p.restore();
}

void sparkle(QPainter& p)
{
    QPainterPath star;
    const QPointF c(10.5, 10.5);
    for (int i = 0; i < 8; ++i) {
        const double angle = i * 3.14159265358979 / 4;
        const double r = i % 2 == 0 ? 9.0 : 3.0;
        const QPointF pt(c.x() + r * std::sin(angle), c.y() - r * std::cos(angle));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    QLinearGradient g(QPointF(2, 2), QPointF(19, 19));
    g.setColorAt(0, QColor(255, 90, 200));
    g.setColorAt(0.5, QColor(90, 120, 255));
    g.setColorAt(1, QColor(40, 220, 160));
    p.fillPath(star, g);
    p.strokePath(star, QPen(QColor(40, 40, 90), 0.7));
}

// The Step button: a play triangle against a bar, one column at a time.
void step(QPainter& p)
{
    QPolygonF triangle;
    triangle << QPointF(5, 4) << QPointF(13, 10.5) << QPointF(5, 17);
    p.setBrush(Ink);
    p.setPen(Qt::NoPen);
    p.drawPolygon(triangle);
    p.fillRect(QRectF(14, 4, 2.5, 13), Ink);
}

// Writes palette_<name>.png and, drawn at twice the size, palette_<name>@2x.png.
bool save(const QString& folder, const QString& name, const std::function<void(QPainter&)>& draw)
{
    for (int scale : {1, 2}) {
        const QImage image = paintScaled({Size, Size}, scale, QImage::Format_ARGB32, Qt::transparent, draw);
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        const QString path = QDir(folder).filePath(QStringLiteral("palette_%1%2.png").arg(name, suffix));
        if (!image.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_palette_art <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    ok &= save(folder, "1", [](QPainter& p) { note(p, 2, true); });
    ok &= save(folder, "2", [](QPainter& p) { note(p, 1, true); });
    ok &= save(folder, "3", [](QPainter& p) { note(p, 0, true); });
    ok &= save(folder, "4", [](QPainter& p) { note(p, 0, false); });
    ok &= save(folder, "5", wholeNote);
    ok &= save(folder, "10", quarterRest);
    ok &= save(folder, "11", quaverRest);
    ok &= save(folder, "sharp", sharp);
    ok &= save(folder, "flat", flat);
    ok &= save(folder, "select", selectBand);
    ok &= save(folder, "gap", insertGap);
    ok &= save(folder, "delete", deleteColumn);
    ok &= save(folder, "pencil", pencil);
    ok &= save(folder, "animated", sparkle);
    ok &= save(folder, "step", step);
    return ok ? 0 : 1;
}
