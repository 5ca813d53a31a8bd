#include "platform/raster/CanvasScale.h"
#include "platform/raster/Raster.h"
#include "platform/raster/RatioPicture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

// Canvases drawn at a device pixel ratio, and the pictures picked for them.
namespace {

using namespace platform::raster;

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

QImage canvas(QSize logical, qreal ratio, QRgb fill = kWhite)
{
    QImage image(deviceSize(logical, ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(fill);
    return image;
}

// Every pixel distinct, so a wrong offset shows at once.
QImage patterned(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(10 * x + 1, 10 * y + 1, (x * y) % 2 ? 0 : 255));
    return image;
}

// The picture with each pixel made an n x n block, carrying ratio n.
QImage blocks(const QImage& image, int n)
{
    QImage big = image.scaled(image.size() * n);
    big.setDevicePixelRatio(n);
    return big;
}

QImage solid(QSize size, QRgb colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, format);
    image.fill(colour);
    return image;
}

} // namespace

TEST(RatioPicture, PicksThe1xFileOrItsTwinAndFitsItToTheRatio)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage one = patterned(10, 6);
    ASSERT_TRUE(one.save(dir.filePath("p.png")));
    ASSERT_TRUE(solid({20, 12}, qRgb(0, 0, 255)).save(dir.filePath("p@2x.png")));
    ASSERT_TRUE(solid({10, 6}, qRgb(255, 0, 0)).save(dir.filePath("solo.png")));
    // A one-bit twin, as the glyph sheet and the clef are.
    ASSERT_TRUE(solid({20, 12}, qRgb(0, 0, 0)).convertToFormat(QImage::Format_Mono).save(dir.filePath("ink@2x.png")));
    ASSERT_TRUE(solid({10, 6}, qRgb(0, 0, 0)).convertToFormat(QImage::Format_Mono).save(dir.filePath("ink.png")));

    struct Case {
        const char* name;
        qreal ratio;
        QSize size;  // image pixels
        QRgb centre; // the colour in the middle
    };
    const Case cases[] = {
        {"p.png", 1.0, {10, 6}, one.pixel(5, 3)},
        {"p.png", 0.75, {10, 6}, one.pixel(5, 3)}, // a smaller image would only lose pixels
        {"p.png", 2.0, {20, 12}, qRgb(0, 0, 255)},
        {"p.png", 1.5, {15, 9}, qRgb(0, 0, 255)},
        {"p.png", 1.25, {13, 8}, qRgb(0, 0, 255)}, // 12.5 x 7.5 rounded up
        {"p.png", 3.0, {30, 18}, qRgb(0, 0, 255)},
        {"solo.png", 2.0, {20, 12}, qRgb(255, 0, 0)}, // no twin: the 1x file enlarged
        {"ink.png", 1.5, {15, 9}, qRgb(0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.ratio));
        const QImage picture = pictureForRatio(dir.filePath(c.name), c.ratio);
        ASSERT_EQ(picture.size(), c.size);
        EXPECT_DOUBLE_EQ(picture.devicePixelRatio(), std::max<qreal>(c.ratio, 1.0));
        EXPECT_EQ(logicalSize(picture), QSize(10, 6));
        EXPECT_EQ(picture.pixel(c.size.width() / 2, c.size.height() / 2) | 0xFF000000u, c.centre);
    }
    // At 1x the picture is the file exactly as it is.
    EXPECT_EQ(pictureForRatio(dir.filePath("p.png"), 1.0), QImage(dir.filePath("p.png")));
    EXPECT_TRUE(pictureForRatio(dir.filePath("missing.png"), 2.0).isNull());

    const QImage stretched = stretchedPicture(dir.filePath("p.png"), {30, 20}, 2.0);
    EXPECT_EQ(stretched.size(), QSize(60, 40));
    EXPECT_DOUBLE_EQ(stretched.devicePixelRatio(), 2.0);
    EXPECT_EQ(stretched.pixel(30, 20) | 0xFF000000u, qRgb(0, 0, 255));
    EXPECT_EQ(stretchedPicture(dir.filePath("p.png"), {30, 20}, 1.0),
              QImage(dir.filePath("p.png")).scaled(30, 20, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

TEST(CanvasScale, LogicalAndImageSizesAgreeAtEveryRatio)
{
    for (qreal ratio : {1.0, 1.1, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0})
        for (QSize logical : {QSize(1, 1), QSize(7, 3), QSize(522, 522), QSize(523, 177), QSize(89, 96)}) {
            SCOPED_TRACE(std::to_string(ratio) + " " + std::to_string(logical.width()));
            const QImage image = canvas(logical, ratio);
            EXPECT_EQ(logicalSize(image), logical);
            EXPECT_GE(image.width(), logical.width() * ratio);
            EXPECT_LT(image.width(), logical.width() * ratio + 1);
            // The canvas's far edge is the image's far edge.
            EXPECT_EQ(deviceX(image, logical.width()), image.width());
            EXPECT_EQ(deviceY(image, logical.height()), image.height());
        }
}

// At a whole ratio n, drawing on an n-times canvas with pictures n times the
// size gives exactly the 1x drawing with each pixel made an n x n block.
TEST(RasterAtRatio, AWholeRatioDrawsThe1xPictureInBlocks)
{
    const QImage source = patterned(9, 7);
    QImage ink = solid({6, 5}, kWhite);
    for (int i = 0; i < 5; ++i)
        ink.setPixel(i, i, kBlack);
    const auto draw = [&](QImage& c, int n) {
        line(c, 1, 2, 18, 2, qRgb(200, 0, 0));  // horizontal
        line(c, 17, 1, 17, 14, qRgb(0, 200, 0)); // vertical, end excluded
        line(c, 0, 15, 6, 9, qRgb(0, 0, 200));  // diagonal
        line(c, -5, 4, 30, 4, qRgb(9, 9, 9));   // clipped at both ends
        pset(c, 19, 15, qRgb(1, 2, 3));
        pset(c, 20, 0, qRgb(1, 2, 3));          // outside: nothing
        copy(c, 2, 6, 5, 4, blocks(source, n), 3, 2);
        copy(c, -2, 12, 9, 7, blocks(source, n), 0, 0); // clipped at the left and the foot
        andCopy(c, 10, 8, 6, 5, blocks(ink, n), 0, 0);
        andCopy(c, 8, 3, 6, 5, blocks(ink, n), 1, 0);
    };
    QImage one = canvas({20, 16}, 1.0, qRgb(250, 250, 250));
    draw(one, 1);
    for (int n : {2, 3}) {
        SCOPED_TRACE(n);
        QImage many = canvas({20, 16}, n, qRgb(250, 250, 250));
        draw(many, n);
        EXPECT_EQ(many, blocks(one, n));
    }
}

TEST(RasterAtRatio, LinesAreEquallyThickWhereverTheyLie)
{
    for (qreal ratio : {1.25, 1.5, 1.75, 2.0, 2.5}) {
        SCOPED_TRACE(ratio);
        QImage c = canvas({40, 30}, ratio);
        for (int y = 1; y < 30; y += 3)
            line(c, 0, y, 40, y, kBlack);
        const int thick = lineWidth(c);
        EXPECT_EQ(thick, std::max(1, int(std::lrint(ratio))));
        // Each line: `thick` image rows from where its logical row begins,
        // across every image column.
        for (int y = 1; y < 30; y += 3)
            for (long long row = deviceY(c, y); row < deviceY(c, y) + thick; ++row)
                for (int x = 0; x < c.width(); ++x)
                    ASSERT_EQ(c.pixel(x, int(row)), kBlack) << "line " << y << " row " << row << " column " << x;
        int inked = 0;
        for (int row = 0; row < c.height(); ++row)
            inked += c.pixel(0, row) == kBlack;
        EXPECT_EQ(inked, 10 * thick);
    }
}

// At a fractional ratio a source cell and its place may round to sizes one
// image pixel apart; the copy must not take in its neighbour on the sheet.
TEST(RasterAtRatio, AFractionalCopyStaysInsideItsCell)
{
    for (qreal ratio : {1.25, 1.5, 1.75}) {
        // A white cell at 0..6 with a black one right after it, and one row of black below.
        QImage sheet = canvas({14, 6}, ratio);
        for (int y = 0; y < sheet.height(); ++y)
            for (long long x = deviceX(sheet, 7); x < sheet.width(); ++x)
                sheet.setPixel(int(x), y, kBlack);
        for (long long y = deviceY(sheet, 5); y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                sheet.setPixel(x, int(y), kBlack);
        for (int x = 0; x < 8; ++x) {
            SCOPED_TRACE(std::to_string(ratio) + " at " + std::to_string(x));
            QImage target = canvas({24, 8}, ratio);
            andCopy(target, x, 1, 7, 5, sheet, 0, 0);
            copy(target, x + 1, 2, 7, 5, sheet, 0, 0);
            EXPECT_EQ(target, canvas({24, 8}, ratio));
        }
    }
}
