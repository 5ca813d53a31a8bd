#include "platform/cursors/CursorFile.h"
#include "tests/support/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using namespace platform::cursors;

// --- Small encoder of the two formats, for fixtures built in memory. ---

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

// Bitmap with mask in the icon layout.  Pixels with alpha 0 are masked out;
// for bpp <= 8 every opaque colour must be in `palette` (index 0 black).
QByteArray dib(const QImage& image, int bpp, const QVector<QRgb>& palette = {}, bool writeAlpha = true)
{
    const int w = image.width(), h = image.height();
    QByteArray out;
    put32(out, 40);
    put32(out, quint32(w));
    put32(out, quint32(2 * h));
    put16(out, 1);
    put16(out, bpp);
    put32(out, 0);
    for (int i = 0; i < 5; ++i)
        put32(out, i == 3 ? quint32(palette.size()) : 0);
    for (QRgb c : palette)
        put32(out, c & 0x00FFFFFFu);
    const int stride = ((w * bpp + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride, 0);
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            const bool transparent = qAlpha(p) == 0;
            const int index = transparent ? 0 : int(palette.indexOf(p | 0xFF000000u));
            switch (bpp) {
            case 1: row[x / 8] = char(row[x / 8] | (index << (7 - x % 8))); break;
            case 4: row[x / 2] = char(row[x / 2] | (index << (x % 2 ? 0 : 4))); break;
            case 8: row[x] = char(index); break;
            case 24:
            case 32: {
                const int b = bpp / 8;
                const QRgb c = transparent ? 0 : p;
                row[b * x] = char(qBlue(c));
                row[b * x + 1] = char(qGreen(c));
                row[b * x + 2] = char(qRed(c));
                if (bpp == 32)
                    row[b * x + 3] = char(writeAlpha ? qAlpha(p) : 0);
                break;
            }
            }
        }
        out += row;
    }
    const int maskStride = ((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, 0);
        for (int x = 0; x < w; ++x)
            if (qAlpha(image.pixel(x, y)) == 0)
                row[x / 8] = char(row[x / 8] | (1 << (7 - x % 8)));
        out += row;
    }
    return out;
}

struct Entry {
    int width, height;
    QPoint hotSpot;
    QByteArray data;
};

QByteArray curFile(const std::vector<Entry>& entries, int type = 2)
{
    QByteArray out;
    put16(out, 0);
    put16(out, type);
    put16(out, int(entries.size()));
    quint32 offset = quint32(6 + 16 * entries.size());
    for (const Entry& e : entries) {
        out.append(char(e.width & 0xFF));
        out.append(char(e.height & 0xFF));
        out.append(char(0));
        out.append(char(0));
        put16(out, e.hotSpot.x());
        put16(out, e.hotSpot.y());
        put32(out, quint32(e.data.size()));
        put32(out, offset);
        offset += quint32(e.data.size());
    }
    for (const Entry& e : entries)
        out += e.data;
    return out;
}

QByteArray chunk(const char* tag, const QByteArray& body)
{
    QByteArray out(tag, 4);
    put32(out, quint32(body.size()));
    out += body;
    if (body.size() % 2)
        out.append(char(0));
    return out;
}

QByteArray aniFile(const std::vector<QByteArray>& icons, int steps, int jiffies, const std::vector<quint32>& rate = {},
                   const std::vector<quint32>& seq = {})
{
    QByteArray header;
    put32(header, 36);
    put32(header, quint32(icons.size()));
    put32(header, quint32(steps));
    for (int i = 0; i < 4; ++i)
        put32(header, 0);
    put32(header, quint32(jiffies));
    put32(header, seq.empty() ? 1 : 3);
    QByteArray frames("fram");
    for (const QByteArray& icon : icons)
        frames += chunk("icon", icon);
    QByteArray body("ACON");
    body += chunk("anih", header);
    if (!rate.empty()) {
        QByteArray r;
        for (quint32 v : rate)
            put32(r, v);
        body += chunk("rate", r);
    }
    if (!seq.empty()) {
        QByteArray s;
        for (quint32 v : seq)
            put32(s, v);
        body += chunk("seq ", s);
    }
    body += chunk("LIST", frames);
    return chunk("RIFF", body);
}

// A test picture: transparent background, a black frame, coloured inside.
QImage testPicture(int w, int h, const QVector<QRgb>& colours)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(0);
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            const bool edge = x == 1 || y == 1 || x == w - 2 || y == h - 2;
            image.setPixel(x, y, edge ? colours[0] : colours[std::size_t((x + 3 * y) % colours.size())]);
        }
    return image;
}

QByteArray simpleCur(int w = 32, int h = 32, QPoint hot = {3, 4})
{
    const QImage picture = testPicture(w, h, {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u});
    return curFile({{w, h, hot, dib(picture, 32)}});
}

void expectSamePixels(const QImage& decoded, const QImage& original, const char* what)
{
    ASSERT_EQ(decoded.size(), original.size()) << what;
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x) {
            const QRgb want = original.pixel(x, y);
            const QRgb got = decoded.pixel(x, y);
            if (qAlpha(want) == 0)
                ASSERT_EQ(qAlpha(got), 0) << what << " at " << x << "," << y;
            else
                ASSERT_EQ(got, want) << what << " at " << x << "," << y;
        }
}

struct DepthCase {
    int bpp;
    QVector<QRgb> palette; // empty for true colour
    QVector<QRgb> colours;
};

TEST(CursorFile, ReadsEveryBitmapDepth)
{
    QVector<QRgb> sixteen, many;
    for (int i = 0; i < 16; ++i)
        sixteen.push_back(qRgb(i * 16, 255 - i * 8, i * 3));
    for (int i = 0; i < 200; ++i)
        many.push_back(qRgb(i, 200 - i, (i * 7) % 256));
    // Index 0 is black: masked pixels carry it, as in real files.
    sixteen[0] = many[0] = 0xFF000000u;
    const DepthCase cases[] = {
        {1, {0xFF000000u, 0xFFFFFFFFu}, {0xFF000000u, 0xFFFFFFFFu}},
        {4, sixteen, sixteen},
        {8, many, many},
        {24, {}, {0xFF000000u, qRgb(1, 2, 3), qRgb(250, 128, 7)}},
        {32, {}, {0xFF000000u, qRgba(10, 20, 30, 255), qRgb(0, 0, 255)}},
    };
    // Widths that are and are not multiples of 32 bits per row.
    for (const QSize size : {QSize(32, 32), QSize(13, 7), QSize(48, 3)}) {
        for (const DepthCase& c : cases) {
            const QImage picture = testPicture(size.width(), size.height(), c.colours);
            const QByteArray bytes = curFile({{size.width(), size.height(), {2, 1}, dib(picture, c.bpp, c.palette)}});
            const CursorHandle cursor = readCurFile(bytes);
            ASSERT_TRUE(cursor) << c.bpp << " bpp " << size.width();
            ASSERT_EQ(cursor->frames.size(), 1u);
            EXPECT_FALSE(cursor->animated());
            EXPECT_EQ(cursor->frames[0].hotSpot, QPoint(2, 1));
            expectSamePixels(cursor->frames[0].image, picture, "depth");
        }
    }
}

TEST(CursorFile, AlphaChannelOrMaskGivesTheShape)
{
    QImage picture = testPicture(8, 8, {0xFF000000u, 0xFF336699u});
    picture.setPixel(3, 3, qRgba(0x33, 0x66, 0x99, 0x80)); // half transparent
    const CursorHandle withAlpha = readCurFile(curFile({{8, 8, {}, dib(picture, 32)}}));
    ASSERT_TRUE(withAlpha);
    EXPECT_EQ(withAlpha->frames[0].image.pixel(3, 3), qRgba(0x33, 0x66, 0x99, 0x80));
    EXPECT_EQ(qAlpha(withAlpha->frames[0].image.pixel(0, 0)), 0);

    // All alpha bytes zero: an old-style bitmap whose mask is the shape.
    const CursorHandle maskOnly = readCurFile(curFile({{8, 8, {}, dib(picture, 32, {}, false)}}));
    ASSERT_TRUE(maskOnly);
    EXPECT_EQ(maskOnly->frames[0].image.pixel(3, 3), 0xFF336699u);
    EXPECT_EQ(qAlpha(maskOnly->frames[0].image.pixel(0, 0)), 0);
    EXPECT_EQ(maskOnly->frames[0].image.pixel(1, 1), 0xFF000000u);
}

TEST(CursorFile, ScreenInvertingPixelsShowAsBlack)
{
    // Mask set over a white colour pixel: the screen is inverted there.
    QImage picture(8, 1, QImage::Format_ARGB32);
    picture.fill(0xFFFFFFFFu);
    QByteArray data = dib(picture, 24);
    data[data.size() - 4] = char(0x80); // mask bit of pixel 0
    const CursorHandle cursor = readCurFile(curFile({{8, 1, {}, data}}));
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->frames[0].image.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(cursor->frames[0].image.pixel(1, 0), 0xFFFFFFFFu);
}

TEST(CursorFile, ReadsPngEntries)
{
    const QImage picture = testPicture(24, 24, {0xFF000000u, qRgba(200, 10, 10, 255)});
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    const CursorHandle cursor = readCurFile(curFile({{24, 24, {5, 6}, png}}));
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->frames[0].hotSpot, QPoint(5, 6));
    expectSamePixels(cursor->frames[0].image, picture, "png");
}

TEST(CursorFile, PicksTheStandardSizeAndKeepsHotSpotsInside)
{
    const QImage small = testPicture(16, 16, {0xFF000000u});
    const QImage standard = testPicture(32, 32, {0xFF000000u, 0xFF00FF00u});
    const CursorHandle cursor =
        readCurFile(curFile({{16, 16, {1, 1}, dib(small, 32)}, {32, 32, {30, 31}, dib(standard, 32)}}));
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->frames[0].image.size(), QSize(32, 32));
    EXPECT_EQ(cursor->frames[0].hotSpot, QPoint(30, 31));

    const CursorHandle outside = readCurFile(curFile({{16, 16, {400, 99}, dib(small, 32)}}));
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->frames[0].hotSpot, QPoint(15, 15));

    // An icon (type 1) reads too, with its hot spot at the corner.
    const CursorHandle icon = readCurFile(curFile({{16, 16, {7, 7}, dib(small, 32)}}, 1));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->frames[0].hotSpot, QPoint(0, 0));
}

TEST(CursorFile, AnimatedFramesFollowSequenceAndRates)
{
    std::vector<QByteArray> icons;
    for (int i = 0; i < 3; ++i)
        icons.push_back(simpleCur(16, 16, {i, i}));

    const CursorHandle plain = readAniFile(aniFile(icons, 3, 6));
    ASSERT_TRUE(plain);
    ASSERT_EQ(plain->frames.size(), 3u);
    EXPECT_TRUE(plain->animated());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plain->frames[std::size_t(i)].hotSpot, QPoint(i, i));
        EXPECT_EQ(plain->frames[std::size_t(i)].displayMs, 100);
    }

    const CursorHandle sequenced = readAniFile(aniFile(icons, 5, 6, {3, 6, 9, 60, 0}, {2, 0, 1, 0, 2}));
    ASSERT_TRUE(sequenced);
    ASSERT_EQ(sequenced->frames.size(), 5u);
    const int hot[] = {2, 0, 1, 0, 2};
    const int ms[] = {50, 100, 150, 1000, 17}; // a zero rate is taken as one tick
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(sequenced->frames[std::size_t(i)].hotSpot.x(), hot[i]) << i;
        EXPECT_EQ(sequenced->frames[std::size_t(i)].displayMs, ms[i]) << i;
    }
    EXPECT_EQ(readCursor(aniFile(icons, 3, 6))->frames.size(), 3u);
    EXPECT_EQ(readCursor(simpleCur())->frames.size(), 1u);
}

TEST(CursorFile, BrokenInputGivesNoCursor)
{
    const QByteArray good = simpleCur(16, 16);
    std::vector<QByteArray> icons{good, good};
    auto patched = [](QByteArray bytes, int at, quint32 value) {
        qToLittleEndian(value, bytes.data() + at);
        return bytes;
    };
    QByteArray tooManyFrames = aniFile(std::vector<QByteArray>(257, good), 257, 6);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"just a header", good.left(6)},
        {"no entries", patched(good, 4, 0)},
        {"wrong type", patched(good, 2, 3)},
        {"offset beyond the file", patched(good, 18, 0x7FFFFFF0)},
        {"size beyond the file", patched(good, 14, 0xFFFFFFFF)},
        {"huge width", patched(good, 22 + 4, 100000)},
        {"negative height", patched(good, 22 + 8, 0xFFFFFFE0)},
        {"sixteen bits per pixel", patched(good, 22 + 14, 16)},
        {"compressed", patched(good, 22 + 16, 1)},
        {"palette beyond the data", patched(curFile({{16, 16, {}, dib(testPicture(16, 16, {0xFF000000u}), 8, {0xFF000000u})}}), 22 + 32, 256)},
        {"truncated colour rows", good.left(good.size() - 16 * 4 - 100)},
        {"RIFF without ACON", chunk("RIFF", QByteArray("WAVEdata"))},
        {"no anih", chunk("RIFF", QByteArray("ACON") + chunk("LIST", QByteArray("fram") + chunk("icon", good)))},
        {"sequence beyond the frames", aniFile(icons, 2, 6, {}, {0, 5})},
        {"broken frame", aniFile({good, good.left(40)}, 2, 6)},
        {"no frames", aniFile({}, 0, 6)},
        {"too many frames", tooManyFrames},
        {"endless chunk size", patched(aniFile(icons, 2, 6), 4, 0xFFFFFFFF).left(60)},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(readCursor(c.bytes)) << c.name;
}

TEST(CursorFile, EveryPrefixOfAValidFileIsSafe)
{
    // Each cut reads within the buffer (checked under AddressSanitizer);
    // only the whole files must give a cursor.
    const QByteArray cur = simpleCur(16, 16);
    const QByteArray ani = aniFile({cur, cur}, 2, 6, {6, 6});
    for (const QByteArray& whole : {cur, ani}) {
        for (qsizetype n = 0; n < whole.size(); ++n)
            (void)readCursor(QByteArray(whole.constData(), n));
        EXPECT_TRUE(readCursor(whole));
    }
}

TEST(CursorFile, LoadsFilesAndIgnoresMissingOnes)
{
    EXPECT_FALSE(loadCursorFromFile(QStringLiteral("/nonexistent/folder/pencil.cur")));
    const QString path = QDir::temp().filePath(QStringLiteral("cursor_file_test.cur"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(simpleCur());
    file.close();
    const CursorHandle cursor = loadCursorFromFile(path);
    QFile::remove(path);
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->frames[0].image.size(), QSize(32, 32));
}

// The cursor files shipped beside the editor: each reads, at the standard
// size, with its hot spot on the drawn ink.
TEST(CursorFile, ShippedCursorFilesRead)
{
    const QDir files(sourceDir() + QStringLiteral("/notivo/resources/files"));
    const struct {
        const char* name;
        bool animated;
    } cases[] = {
        {"RurUzezize/RurUzezize Normal.ani", true},     {"RurUzezize/RurUzezize Link.ani", true},
        {"RurUzezize/Orla's 3D Crystal Busy.ani", true}, {"RurUzezize/RurUzezize Alternate2.ani", true},
        {"RurUzezize/Animated.ani", true},               {"Animated.ani", true},
        {"pencil.cur", false},                          {"Erace.cur", false},
        {"Selection1.cur", false},
    };
    for (const auto& c : cases) {
        const CursorHandle cursor = loadCursorFromFile(files.filePath(QString::fromUtf8(c.name)));
        ASSERT_TRUE(cursor) << c.name;
        EXPECT_EQ(cursor->animated(), c.animated) << c.name;
        for (const CursorFrame& frame : cursor->frames) {
            EXPECT_EQ(frame.image.size(), QSize(32, 32)) << c.name;
            if (c.animated)
                EXPECT_GT(frame.displayMs, 0) << c.name;
            // Some ink within a pixel of the hot spot.
            int ink = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QPoint at = frame.hotSpot + QPoint(dx, dy);
                    ink += frame.image.rect().contains(at) && qAlpha(frame.image.pixel(at)) > 0;
                }
            EXPECT_GT(ink, 0) << c.name;
        }
    }
    const CursorHandle busy = loadCursorFromFile(files.filePath(QStringLiteral("RurUzezize/Orla's 3D Crystal Busy.ani")));
    ASSERT_TRUE(busy);
    EXPECT_GE(busy->frames.size(), 8u);
    const CursorHandle pencil = loadCursorFromFile(files.filePath(QStringLiteral("pencil.cur")));
    ASSERT_TRUE(pencil);
    EXPECT_EQ(pencil->frames[0].hotSpot, QPoint(1, 30)); // the tip, bottom left
}

} // namespace
