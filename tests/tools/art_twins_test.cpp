#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tests/support/TestSupport.h"

// Every picture of both programs comes with a twin drawn at twice the size
// (name@2x.png), which high-density screens show instead.  The twin must be
// the same picture: shrunk to 1x it matches its 1x file closely.  And it must
// be drawn anew, not enlarged: it differs from the 1x file doubled.
namespace {

struct TwinMeasure {
    double worstTile = 0; // mean difference per channel (0..255) of the shrunk twin against the 1x picture,
                          // in the 8 x 8 tile where they differ most
    double detail = 0;    // share of twin pixels that differ from the doubled 1x picture
};

constexpr int Tile = 8;

int channel(QRgb p, int c) { return (p >> (8 * c)) & 0xFF; }

TwinMeasure measure(const QImage& one, const QImage& two)
{
    TwinMeasure m;
    const int columns = (one.width() + Tile - 1) / Tile, rows = (one.height() + Tile - 1) / Tile;
    std::vector<long long> difference(std::size_t(columns * rows), 0);
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            const QRgb block[] = {two.pixel(2 * x, 2 * y), two.pixel(2 * x + 1, 2 * y), two.pixel(2 * x, 2 * y + 1),
                                  two.pixel(2 * x + 1, 2 * y + 1)};
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (QRgb p : block)
                    sum += channel(p, c);
                difference[std::size_t(y / Tile * columns + x / Tile)] +=
                    std::abs((sum + 2) / 4 - channel(one.pixel(x, y), c));
            }
        }
    m.worstTile = double(*std::max_element(difference.begin(), difference.end())) / (4.0 * Tile * Tile);
    long long changed = 0;
    for (int y = 0; y < two.height(); ++y)
        for (int x = 0; x < two.width(); ++x) {
            const QRgb a = two.pixel(x, y), b = one.pixel(x / 2, y / 2);
            int most = 0;
            for (int c = 0; c < 4; ++c)
                most = std::max(most, std::abs(channel(a, c) - channel(b, c)));
            changed += most > 2;
        }
    m.detail = double(changed) / (double(two.width()) * two.height());
    return m;
}

// Gradients and whole-pixel rectangles: doubled, they already are their twins.
const QStringList Exact = {"titlebar_middle.png", "background.png", "beat_pause.png", "beat_stop.png"};

QImage premultiplied(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

TEST(ArtTwins, EveryPictureHasATwinDrawnAtTwiceTheSize)
{
    int pictures = 0;
    for (const char* folder : {"notivo/resources/images", "keyrig/resources/images"}) {
        const QDir dir(sourceDir() + "/" + folder);
        const QStringList ones = dir.entryList({"*.png"}, QDir::Files).filter(QRegularExpression("^[^@]*\\.png$"));
        for (const QString& name : ones) {
            SCOPED_TRACE(name.toStdString());
            ++pictures;
            const QImage one = premultiplied(dir.filePath(name));
            const QImage two = premultiplied(dir.filePath(QString(name).replace(".png", "@2x.png")));
            ASSERT_FALSE(two.isNull()) << "no twin";
            ASSERT_EQ(two.size(), one.size() * 2);
            const TwinMeasure m = measure(one, two);
            // One-pixel strokes of the 1x pictures sit half a pixel off their
            // smooth 2x outlines here and there; a misplaced shape is far worse.
            EXPECT_LT(m.worstTile, 32.0);
            if (!Exact.contains(name))
                EXPECT_GT(m.detail, 0.005);
        }
    }
    EXPECT_EQ(pictures, 39); // 31 of notivo, 8 of keyrig
}
