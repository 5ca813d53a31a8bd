// Draws the cursors of notivo and writes them as Windows .cur and RIFF .ani
// files.  Usage: make_cursors <notivo files folder> [<fuzz seed folder>]
// The seed folder receives small files of every supported layout, the
// starting corpus of the cursor reader's fuzz target.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// ---------------------------------------------------------------- writer

void put16(QByteArray& out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

struct Frame {
    QImage image; // ARGB32
    QPoint hotSpot;
};

// Bitmap and AND mask in the icon layout.  32 bits per pixel carry the
// alpha channel; lower depths use a palette of the picture's own colours.
QByteArray encodeDib(const QImage& source, int bpp)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    std::vector<QRgb> palette;
    if (bpp <= 8) {
        palette.push_back(0xFF000000u); // masked pixels are black
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb c = image.pixel(x, y) | 0xFF000000u;
                if (qAlpha(image.pixel(x, y)) >= 128 && std::find(palette.begin(), palette.end(), c) == palette.end()
                    && palette.size() < (1u << bpp))
                    palette.push_back(c);
            }
    }
    auto indexOf = [&](QRgb c) {
        const auto found = std::find(palette.begin(), palette.end(), c | 0xFF000000u);
        return found == palette.end() ? 0 : int(found - palette.begin());
    };

    QByteArray out;
    put32(out, 40);
    put32(out, quint32(w));
    put32(out, quint32(2 * h));
    put16(out, 1);
    put16(out, bpp);
    put32(out, 0);                       // no compression
    put32(out, 0);                       // image size (may be 0 uncompressed)
    put32(out, 0);                       // resolution
    put32(out, 0);
    put32(out, quint32(palette.size())); // colours used
    put32(out, 0);
    for (QRgb c : palette)
        put32(out, c & 0x00FFFFFFu);

    const int stride = ((w * bpp + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride, 0);
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            const bool shown = qAlpha(p) >= 128;
            switch (bpp) {
            case 1: row[x / 8] = char(row[x / 8] | ((shown ? indexOf(p) : 0) << (7 - x % 8))); break;
            case 4: row[x / 2] = char(row[x / 2] | ((shown ? indexOf(p) : 0) << (x % 2 ? 0 : 4))); break;
            case 8: row[x] = char(shown ? indexOf(p) : 0); break;
            case 24:
                row[3 * x] = char(shown ? qBlue(p) : 0);
                row[3 * x + 1] = char(shown ? qGreen(p) : 0);
                row[3 * x + 2] = char(shown ? qRed(p) : 0);
                break;
            default:
                row[4 * x] = char(qBlue(p));
                row[4 * x + 1] = char(qGreen(p));
                row[4 * x + 2] = char(qRed(p));
                row[4 * x + 3] = char(qAlpha(p));
                break;
            }
        }
        out += row;
    }
    const int maskStride = ((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, 0);
        for (int x = 0; x < w; ++x)
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (1 << (7 - x % 8)));
        out += row;
    }
    return out;
}

QByteArray encodePng(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// A cursor directory of one or more images of the same picture.
QByteArray curFile(const std::vector<Frame>& images, const std::vector<QByteArray>& data)
{
    QByteArray out;
    put16(out, 0);
    put16(out, 2); // cursor
    put16(out, int(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.append(char(images[i].image.width() & 0xFF));
        out.append(char(images[i].image.height() & 0xFF));
        out.append(char(0));
        out.append(char(0));
        put16(out, images[i].hotSpot.x());
        put16(out, images[i].hotSpot.y());
        put32(out, quint32(data[i].size()));
        put32(out, offset);
        offset += quint32(data[i].size());
    }
    for (const QByteArray& d : data)
        out += d;
    return out;
}

QByteArray curFile(const Frame& frame, int bpp = 32)
{
    return curFile({frame}, {encodeDib(frame.image, bpp)});
}

QByteArray chunk(const char* tag, const QByteArray& body)
{
    QByteArray out(tag, 4);
    put32(out, quint32(body.size()));
    out += body;
    if (body.size() % 2)
        out.append(char(0)); // chunks are padded to even sizes
    return out;
}

QByteArray dwords(const std::vector<quint32>& values)
{
    QByteArray out;
    for (quint32 v : values)
        put32(out, v);
    return out;
}

// An animated cursor: `jiffies` sixtieths of a second per step, optional
// per-step rates and a step sequence of frame indices.
QByteArray aniFile(const std::vector<Frame>& frames, quint32 jiffies, const std::vector<quint32>& rates = {},
                   const std::vector<quint32>& sequence = {})
{
    const quint32 steps = sequence.empty() ? quint32(frames.size()) : quint32(sequence.size());
    QByteArray header;
    put32(header, 36);
    put32(header, quint32(frames.size()));
    put32(header, steps);
    put32(header, quint32(frames.front().image.width()));
    put32(header, quint32(frames.front().image.height()));
    put32(header, 32);
    put32(header, 1);
    put32(header, jiffies);
    put32(header, sequence.empty() ? 1 : 3); // icon frames (+ sequence)

    QByteArray list("fram");
    for (const Frame& frame : frames)
        list += chunk("icon", curFile(frame));
    QByteArray body("ACON");
    body += chunk("anih", header);
    if (!rates.empty())
        body += chunk("rate", dwords(rates));
    if (!sequence.empty())
        body += chunk("seq ", dwords(sequence));
    body += chunk("LIST", list);
    return chunk("RIFF", body);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s (%lld bytes)\n", qPrintable(path), static_cast<long long>(bytes.size()));
    return true;
}

// ---------------------------------------------------------------- artwork

constexpr int kSize = 32;

QImage blank(int size = kSize)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

Frame finish(const QImage& image, QPoint hotSpot)
{
    return {image.convertToFormat(QImage::Format_ARGB32), hotSpot};
}

void outlined(QPainter& p, const QPainterPath& path, const QBrush& fill, qreal pen = 1.0)
{
    p.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath arrowPath()
{
    // Tip at (1, 1); the arrow leans a little left like the system one.
    QPainterPath path;
    path.moveTo(1.5, 1.5);
    path.lineTo(1.5, 20.5);
    path.lineTo(6.0, 16.0);
    path.lineTo(9.5, 23.5);
    path.lineTo(12.5, 22.0);
    path.lineTo(9.0, 14.5);
    path.lineTo(15.0, 14.5);
    path.closeSubpath();
    return path;
}

// The standard arrow; a `glint` in 0.15..0.85 puts a light stripe across
// its body, any other value none.
QImage arrow(qreal glint)
{
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 0, 12, 22);
    body.setColorAt(0, QColor(250, 252, 255));
    if (glint >= 0.15 && glint <= 0.85) {
        body.setColorAt(glint - 0.12, QColor(236, 242, 252));
        body.setColorAt(glint, QColor(170, 205, 255));
        body.setColorAt(glint + 0.12, QColor(236, 242, 252));
    }
    body.setColorAt(1, QColor(214, 224, 240));
    outlined(p, arrowPath(), body);
    return image;
}

QImage hand(qreal tap)
{
    // A pointing hand; `tap` lowers the finger a pixel or two.
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal dip = 2.0 * tap;
    QPainterPath path;
    path.addRoundedRect(QRectF(9.5, 1.5 + dip, 5.0, 15.0), 2.5, 2.5); // index finger
    path.addRoundedRect(QRectF(14.0, 9.5, 4.5, 9.0), 2.2, 2.2);       // middle finger
    path.addRoundedRect(QRectF(18.0, 10.5, 4.5, 8.5), 2.2, 2.2);      // ring finger
    path.addRoundedRect(QRectF(22.0, 12.0, 4.0, 8.0), 2.0, 2.0);      // little finger
    path.addRoundedRect(QRectF(9.5, 14.5, 16.5, 12.0), 4.0, 4.0);     // palm
    QPainterPath thumb;
    thumb.moveTo(10.0, 22.0);
    thumb.cubicTo(6.0, 20.0, 3.5, 16.0, 5.0, 14.5);
    thumb.cubicTo(6.5, 13.0, 9.0, 15.5, 10.5, 17.0);
    path.addPath(thumb);
    path = path.simplified();
    outlined(p, path, QColor(255, 246, 232));
    p.setPen(QPen(QColor(150, 120, 90), 0.8));
    p.drawLine(QPointF(14.2, 14.0), QPointF(14.2, 17.5));
    p.drawLine(QPointF(18.2, 14.5), QPointF(18.2, 18.0));
    p.drawLine(QPointF(22.2, 15.5), QPointF(22.2, 19.0));
    return image;
}

QImage busy(int step, int steps)
{
    // A glassy ring of beads with one bright bead running round it.
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(16, 16);
    for (int i = 0; i < steps; ++i) {
        const qreal angle = 2 * M_PI * i / steps - M_PI / 2;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * 10.5;
        const int age = (step - i + steps) % steps; // 0: the leading bead
        const qreal strength = 1.0 - qreal(age) / steps;
        QRadialGradient glass(at - QPointF(1.2, 1.2), 4.5);
        glass.setColorAt(0, QColor(255, 255, 255));
        glass.setColorAt(0.45, QColor::fromHsvF(0.58, 0.25 + 0.65 * strength, 0.55 + 0.45 * strength));
        glass.setColorAt(1, QColor::fromHsvF(0.62, 0.9, 0.35 + 0.4 * strength));
        p.setPen(QPen(QColor(20, 30, 60), 0.8));
        p.setBrush(glass);
        const qreal r = 2.6 + 1.0 * strength;
        p.drawEllipse(at, r, r);
    }
    // A small crystal at the centre marks the hot spot.
    QRadialGradient core(centre - QPointF(0.6, 0.6), 2.5);
    core.setColorAt(0, Qt::white);
    core.setColorAt(1, QColor(90, 150, 230));
    p.setBrush(core);
    p.drawEllipse(centre, 1.8, 1.8);
    return image;
}

QImage gapCursor(qreal spread)
{
    // Insertion bar with arrows pushing the columns apart.
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = 2.0 * spread;
    QPainterPath bar;
    bar.addRect(QRectF(14.5, 3.5, 3.0, 25.0));
    outlined(p, bar, QColor(255, 210, 60));
    for (int side : {-1, 1}) {
        const qreal base = 16.0 + side * (4.5 + s);
        QPainterPath head;
        head.moveTo(base + side * 7.0, 16.0);
        head.lineTo(base, 11.0);
        head.lineTo(base, 21.0);
        head.closeSubpath();
        outlined(p, head, QColor(60, 140, 255));
    }
    return image;
}

void noteGlyph(QPainter& p, QPointF head, const QColor& colour)
{
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(colour);
    p.save();
    p.translate(head);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), 3.4, 2.4);
    p.restore();
    p.drawLine(QPointF(head.x() + 3.0, head.y() - 0.5), QPointF(head.x() + 3.0, head.y() - 11.0));
    p.drawLine(QPointF(head.x() + 3.0, head.y() - 11.0), QPointF(head.x() + 6.5, head.y() - 7.0));
}

QImage arrowWithNote(qreal bounce, const QColor& colour)
{
    // Arrow carrying a note that bounces beside it: the note-writing pointer.
    QImage image = arrow(-1.0);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    noteGlyph(p, QPointF(20.5, 26.0 - 2.5 * bounce), colour);
    return image;
}

QImage quill(qreal glow)
{
    // A writing nib with a pulsing note head at its side.
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath nib;
    nib.moveTo(1.5, 30.5);
    nib.lineTo(6.0, 19.0);
    nib.lineTo(21.0, 4.0);
    nib.lineTo(27.5, 10.5);
    nib.lineTo(12.5, 25.5);
    nib.closeSubpath();
    QLinearGradient metal(6, 19, 27, 10);
    metal.setColorAt(0, QColor(90, 90, 100));
    metal.setColorAt(0.5, QColor(215, 215, 225));
    metal.setColorAt(1, QColor(120, 120, 135));
    outlined(p, nib, metal);
    p.setPen(QPen(Qt::black, 1.0));
    p.drawLine(QPointF(1.5, 30.5), QPointF(10.0, 22.0));
    noteGlyph(p, QPointF(23.5, 26.5), QColor::fromHsvF(0.75, 0.3 + 0.6 * glow, 1.0));
    return image;
}

QImage pencil()
{
    // Tip at the bottom left, body rising to the top right.
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(1.5, 30.5);
    p.rotate(-45);
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(8, -3.5);
    wood.lineTo(8, 3.5);
    wood.closeSubpath();
    outlined(p, wood, QColor(238, 203, 150));
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(3, -1.3);
    lead.lineTo(3, 1.3);
    lead.closeSubpath();
    outlined(p, lead, QColor(40, 40, 40), 0.6);
    QPainterPath body;
    body.addRect(QRectF(8, -3.5, 22, 7));
    outlined(p, body, QColor(250, 200, 40));
    p.setPen(QPen(QColor(200, 150, 20), 0.8));
    p.drawLine(QPointF(8, 0), QPointF(30, 0));
    QPainterPath ferrule;
    ferrule.addRect(QRectF(30, -3.5, 3.5, 7));
    outlined(p, ferrule, QColor(190, 190, 200));
    QPainterPath rubber;
    rubber.addRoundedRect(QRectF(33.5, -3.5, 5, 7), 1.5, 1.5);
    outlined(p, rubber, QColor(240, 130, 150));
    return image;
}

QImage eraser()
{
    // A tilted block; its bottom-left working edge holds the hot spot.
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(3.5, 27.5);
    p.rotate(-35);
    QPainterPath sleeve;
    sleeve.addRoundedRect(QRectF(9, -9, 16, 10), 1.5, 1.5);
    outlined(p, sleeve, QColor(70, 120, 220));
    QPainterPath rubber;
    rubber.addRoundedRect(QRectF(0, -9, 10, 10), 1.5, 1.5);
    outlined(p, rubber, QColor(250, 235, 240));
    p.resetTransform();
    p.setPen(QPen(QColor(120, 120, 120), 1.0, Qt::DotLine));
    p.drawLine(QPointF(0.5, 30.5), QPointF(9.0, 30.5));
    return image;
}

QImage selection()
{
    // A thin cross with a dashed selection box at its lower right.
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(15, 2, 15, 28);
    p.drawLine(2, 15, 28, 15);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(15, 2, 15, 28);
    p.drawLine(2, 15, 28, 15);
    p.setPen(QPen(QColor(0, 85, 255), 1, Qt::DashLine));
    p.setBrush(QColor(0, 85, 255, 70));
    p.drawRect(18, 18, 11, 9);
    return image;
}

// ------------------------------------------------------------------ files

bool writeNotivoFiles(const QDir& dir)
{
    bool ok = true;
    auto write = [&](const QString& name, const QByteArray& bytes) { ok = writeFile(dir.filePath(name), bytes) && ok; };

    std::vector<Frame> normal;
    for (int i = 0; i < 5; ++i)
        normal.push_back(finish(arrow(i < 4 ? 0.15 + 0.23 * i : -1.0), {1, 1}));
    // A quick glint, then a long rest before it runs again.
    write("RurUzezize/RurUzezize Normal.ani", aniFile(normal, 5, {5, 5, 5, 5, 120}));

    std::vector<Frame> link;
    for (int i = 0; i < 3; ++i)
        link.push_back(finish(hand(i == 1 ? 1.0 : i == 2 ? 0.5 : 0.0), {11, 2}));
    write("RurUzezize/RurUzezize Link.ani", aniFile(link, 8, {40, 6, 6}));

    std::vector<Frame> spinner;
    for (int i = 0; i < 8; ++i)
        spinner.push_back(finish(busy(i, 8), {16, 16}));
    write("RurUzezize/Orla's 3D Crystal Busy.ani", aniFile(spinner, 5));

    std::vector<Frame> gap;
    for (int i = 0; i < 4; ++i)
        gap.push_back(finish(gapCursor(i / 3.0), {16, 16}));
    write("RurUzezize/RurUzezize Alternate2.ani", aniFile(gap, 7, {}, {0, 1, 2, 3, 2, 1}));

    std::vector<Frame> noted;
    const QColor colours[] = {QColor(40, 90, 230), QColor(60, 160, 240), QColor(40, 90, 230), QColor(20, 50, 160)};
    for (int i = 0; i < 4; ++i)
        noted.push_back(finish(arrowWithNote(i == 1 ? 1.0 : i == 3 ? -0.5 : 0.0, colours[i]), {1, 1}));
    write("RurUzezize/Animated.ani", aniFile(noted, 9));

    std::vector<Frame> writing;
    for (int i = 0; i < 6; ++i)
        writing.push_back(finish(quill(0.5 + 0.5 * std::sin(2 * M_PI * i / 6)), {1, 30}));
    write("Animated.ani", aniFile(writing, 8));

    write("pencil.cur", curFile(finish(pencil(), {1, 30})));
    write("Erace.cur", curFile(finish(eraser(), {3, 28})));
    write("Selection1.cur", curFile(finish(selection(), {15, 15})));
    return ok;
}

// Small files of every layout the reader takes, for the fuzzer to start from.
bool writeSeeds(const QDir& dir)
{
    bool ok = true;
    auto write = [&](const QString& name, const QByteArray& bytes) { ok = writeFile(dir.filePath(name), bytes) && ok; };
    QImage small = blank(16);
    {
        QPainter p(&small);
        p.fillRect(2, 2, 11, 9, QColor(0, 85, 255));
        p.fillRect(4, 4, 5, 3, Qt::white);
        p.setPen(Qt::black);
        p.drawRect(1, 1, 12, 10);
    }
    const Frame frame = finish(small, {3, 4});
    for (int bpp : {1, 4, 8, 24, 32})
        write(QStringLiteral("bitmap_%1bpp.cur").arg(bpp), curFile(frame, bpp));
    write("png_entry.cur", curFile({frame}, {encodePng(frame.image)}));
    const Frame larger = finish(selection(), {15, 15});
    write("two_sizes.cur", curFile({frame, larger}, {encodeDib(frame.image, 32), encodeDib(larger.image, 8)}));
    std::vector<Frame> frames;
    for (int i = 0; i < 3; ++i)
        frames.push_back(finish(small.transformed(QTransform().rotate(90 * i)), {i, i}));
    write("plain.ani", aniFile(frames, 6));
    write("rate_and_sequence.ani", aniFile(frames, 6, {3, 6, 9, 12}, {2, 0, 1, 0}));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <notivo files folder> [<fuzz seed folder>]\n", argv[0]);
        return 2;
    }
    bool ok = writeNotivoFiles(QDir(QString::fromLocal8Bit(argv[1])));
    if (argc == 3)
        ok = writeSeeds(QDir(QString::fromLocal8Bit(argv[2]))) && ok;
    return ok ? 0 : 1;
}
