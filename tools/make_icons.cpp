// Draws the application icons of both programs for the desktop's menus: a
// scalable SVG and PNGs at 48, 128 and 256 pixels, all from one list of
// filled shapes on a 256-unit square, so every size shows the same picture.
//
//   make_icons <source root>   (writes notivo/desktop/icons and keyrig/desktop/icons)

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int Units = 256;

// A filled outline; its colour runs from `top` at y = y0 to `bottom` at y = y1.
struct Shape {
    QPainterPath path;
    QColor top;
    QColor bottom;
    qreal y0 = 0;
    qreal y1 = Units;
};

Shape solid(const QPainterPath& path, const QColor& colour) { return {path, colour, colour}; }

Shape shaded(const QPainterPath& path, const QColor& top, const QColor& bottom)
{
    const QRectF box = path.boundingRect();
    return {path, top, bottom, box.top(), box.bottom()};
}

QPainterPath roundRect(qreal x, qreal y, qreal w, qreal h, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return path;
}

QPainterPath rect(qreal x, qreal y, qreal w, qreal h) { return roundRect(x, y, w, h, 0); }

QPainterPath ellipse(qreal cx, qreal cy, qreal rx, qreal ry, qreal degrees = 0)
{
    QPainterPath path;
    path.addEllipse(QPointF(0, 0), rx, ry);
    return QTransform().translate(cx, cy).rotate(degrees).map(path);
}

// A notehead tilted as engravers draw it.
QPainterPath notehead(qreal cx, qreal cy) { return ellipse(cx, cy, 23, 16, -22); }

std::vector<Shape> notivoIcon()
{
    std::vector<Shape> shapes;
    shapes.push_back(solid(roundRect(12, 12, 232, 232, 40), QColor(120, 108, 84)));
    shapes.push_back(shaded(roundRect(18, 18, 220, 220, 35), QColor(255, 252, 240), QColor(232, 222, 196)));
    const QColor ink(34, 36, 48);
    for (int line = 0; line < 5; ++line)
        shapes.push_back(solid(rect(36, 80 + 26 * line, 184, 5), ink));

    const QColor note(28, 46, 110);
    // A quarter on the lowest space and a quaver higher up, stems up.
    shapes.push_back(solid(notehead(92, 172), note));
    shapes.push_back(solid(rect(107, 66, 8, 104), note));
    shapes.push_back(solid(notehead(168, 134), note));
    shapes.push_back(solid(rect(183, 36, 8, 96), note));
    QPainterPath flag;
    flag.moveTo(191, 36);
    flag.cubicTo(195, 66, 234, 78, 220, 124);
    flag.cubicTo(226, 92, 206, 80, 191, 74);
    flag.closeSubpath();
    shapes.push_back(solid(flag, note));
    return shapes;
}

std::vector<Shape> keyrigIcon()
{
    std::vector<Shape> shapes;
    shapes.push_back(solid(roundRect(12, 12, 232, 232, 40), QColor(14, 15, 18)));
    shapes.push_back(shaded(roundRect(17, 17, 222, 222, 36), QColor(96, 102, 116), QColor(30, 32, 38)));

    // The display strip and three drum pads, as on the program's panel.
    shapes.push_back(solid(roundRect(36, 44, 100, 30, 6), QColor(128, 128, 128)));
    shapes.push_back(solid(rect(46, 56, 80, 6), QColor(128, 255, 128)));
    for (int pad = 0; pad < 3; ++pad) // the middle one struck
        shapes.push_back(solid(ellipse(164 + 28 * pad, 59, 12, 12), pad == 1 ? QColor(192, 0, 0) : QColor(192, 192, 192)));

    // One octave of keys: seven white, five black on top.
    constexpr qreal left = 34, top = 100, width = 188, height = 116;
    constexpr qreal white = width / 7;
    shapes.push_back(solid(roundRect(left - 4, top - 4, width + 8, height + 8, 8), QColor(10, 10, 12)));
    for (int key = 0; key < 7; ++key)
        shapes.push_back(shaded(roundRect(left + white * key + 1.5, top, white - 3, height, 4), QColor(255, 255, 255),
                                QColor(214, 214, 218)));
    for (int after : {0, 1, 3, 4, 5})
        shapes.push_back(shaded(roundRect(left + white * (after + 1) - 9, top, 18, 70, 3), QColor(60, 60, 66),
                                QColor(0, 0, 0)));
    return shapes;
}

// Hundredths are finer than any pixel at the sizes an icon is shown.
QString number(qreal value) { return QString::number(std::round(value * 100) / 100, 'g', 10); }

QString colourText(const QColor& colour) { return colour.name(QColor::HexRgb); }

// SVG path data of a QPainterPath: moves, lines and cubic curves, each
// figure closed, filled even-odd as the painter fills it.
QString pathData(const QPainterPath& path)
{
    QString data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::MoveToElement) {
            if (i > 0)
                data += QStringLiteral("Z");
            data += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
        } else if (e.type == QPainterPath::LineToElement) {
            data += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
        } else if (e.type == QPainterPath::CurveToElement) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            data += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                        .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x), number(end.y));
            i += 2;
        }
    }
    return data + QStringLiteral("Z");
}

QByteArray svg(const std::vector<Shape>& shapes, const QString& title)
{
    QString defs;
    QString body;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const Shape& s = shapes[i];
        QString fill = colourText(s.top);
        if (s.top != s.bottom) {
            const QString id = QStringLiteral("g%1").arg(i);
            defs += QStringLiteral("    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"%2\" "
                                   "x2=\"0\" y2=\"%3\"><stop offset=\"0\" stop-color=\"%4\"/>"
                                   "<stop offset=\"1\" stop-color=\"%5\"/></linearGradient>\n")
                        .arg(id, number(s.y0), number(s.y1), colourText(s.top), colourText(s.bottom));
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        body += QStringLiteral("  <path fill=\"%1\" fill-rule=\"evenodd\" d=\"%2\"/>\n").arg(fill, pathData(s.path));
    }
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                                  "viewBox=\"0 0 %1 %1\">\n  <title>%2</title>\n")
                       .arg(Units)
                       .arg(title);
    if (!defs.isEmpty())
        text += QStringLiteral("  <defs>\n") + defs + QStringLiteral("  </defs>\n");
    return (text + body + QStringLiteral("</svg>\n")).toUtf8();
}

QImage png(const std::vector<Shape>& shapes, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(qreal(size) / Units, qreal(size) / Units);
    p.setPen(Qt::NoPen);
    for (const Shape& s : shapes) {
        QLinearGradient shade(0, s.y0, 0, s.y1);
        shade.setColorAt(0, s.top);
        shade.setColorAt(1, s.bottom);
        p.fillPath(s.path, s.top == s.bottom ? QBrush(s.top) : QBrush(shade));
    }
    return image;
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool save(const QString& path, const QImage& image)
{
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool makeIcon(const QDir& root, const QString& program, const std::vector<Shape>& shapes)
{
    QDir folder(root.filePath(program + QStringLiteral("/desktop/icons")));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
        return false;
    }
    bool ok = write(folder.filePath(program + QStringLiteral(".svg")), svg(shapes, program));
    for (int size : {48, 128, 256})
        ok = save(folder.filePath(QStringLiteral("%1-%2.png").arg(program).arg(size)), png(shapes, size)) && ok;
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons <source root>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    bool ok = makeIcon(root, QStringLiteral("notivo"), notivoIcon());
    ok = makeIcon(root, QStringLiteral("keyrig"), keyrigIcon()) && ok;
    return ok ? 0 : 1;
}
