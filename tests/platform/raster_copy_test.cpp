#include "platform/raster/Raster.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

using namespace platform::raster;

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kGrey = 0xFF808080u;

QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Every pixel distinct, so a wrong offset shows at once.
QImage patterned(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(10 * x + 1, 10 * y + 1, 77));
    return image;
}

// Black-and-white picture from rows of '#' (black) and '.' (white).
QImage picture(std::initializer_list<const char*> rows)
{
    const int w = int(std::strlen(*rows.begin()));
    QImage image(w, int(rows.size()), QImage::Format_RGB32);
    int y = 0;
    for (const char* r : rows) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, r[x] == '#' ? kBlack : kWhite);
        ++y;
    }
    return image;
}

std::string rowsOf(const QImage& image)
{
    std::string out;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            out += p == kBlack ? '#' : p == kWhite ? '.' : p == kGrey ? 'g' : '?';
        }
        out += '\n';
    }
    return out;
}

struct CopyCase {
    const char* name;
    int x, y, w, h, sx, sy;
};

// A plain copy moves exactly the pixels inside both images; every other
// destination pixel keeps its colour.
TEST(RasterCopy, CopiesTheClippedRectangleOnly)
{
    const CopyCase cases[] = {
        {"inside", 1, 2, 3, 2, 2, 1},
        {"left and top beyond the destination", -2, -1, 4, 3, 0, 0},
        {"right and bottom beyond the destination", 4, 4, 5, 5, 0, 0},
        {"beyond the source", 0, 0, 4, 4, 4, 3},
        {"negative source corner", 2, 2, 3, 3, -1, -2},
        {"empty", 1, 1, 0, 3, 0, 0},
        {"entirely outside", 10, 10, 3, 3, 0, 0},
    };
    const QImage src = patterned(6, 5);
    for (const CopyCase& c : cases) {
        QImage dst = filled(6, 6, kGrey);
        copy(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy);
        for (int y = 0; y < dst.height(); ++y)
            for (int x = 0; x < dst.width(); ++x) {
                const int i = x - c.x, j = y - c.y;
                const int px = c.sx + i, py = c.sy + j;
                const bool copied = i >= 0 && j >= 0 && i < c.w && j < c.h && src.rect().contains(px, py);
                EXPECT_EQ(dst.pixel(x, y), copied ? src.pixel(px, py) : kGrey)
                    << c.name << " at " << x << "," << y;
            }
    }
}

TEST(RasterCopy, PlainCopyOfADigitCell)
{
    // A 9 x 16 sprite cell from (18, 16) lands unchanged at (10, 3).
    const QImage sheet = patterned(90, 96);
    QImage target = filled(40, 30, kWhite);
    copy(target, 10, 3, 9, 16, sheet, 18, 16);
    EXPECT_EQ(target.pixel(10, 3), sheet.pixel(18, 16));
    EXPECT_EQ(target.pixel(18, 18), sheet.pixel(26, 31));
    EXPECT_EQ(target.pixel(19, 3), kWhite);
    EXPECT_EQ(target.pixel(10, 19), kWhite);
    EXPECT_EQ(target.pixel(9, 3), kWhite);
}

TEST(RasterAndCopy, AddsBlackInkAndLeavesWhiteAlone)
{
    QImage canvas = picture({"......", "gggggg", "......"});
    for (int x = 0; x < 6; ++x)
        canvas.setPixel(x, 1, kGrey);
    const QImage glyph = picture({".#.", "###", ".#."});
    andCopy(canvas, 2, 0, 3, 3, glyph, 0, 0);
    EXPECT_EQ(rowsOf(canvas), "...#..\n"
                              "gg###g\n"
                              "...#..\n");
    // The copy only adds ink: a second copy changes nothing.
    const QImage once = canvas;
    andCopy(canvas, 2, 0, 3, 3, glyph, 0, 0);
    EXPECT_EQ(canvas, once);
}

TEST(RasterAndCopy, RowsBeyondTheSourceCountAsWhite)
{
    // A band that reaches two rows past the sheet leaves those rows untouched.
    const QImage sheet = picture({"##", "##"});
    QImage canvas = filled(2, 4, kGrey);
    andCopy(canvas, 0, 0, 2, 4, sheet, 0, 0);
    EXPECT_EQ(rowsOf(canvas), "##\n##\ngg\ngg\n");
}

TEST(RasterAndCopy, AcceptsNonThirtyTwoBitSources)
{
    QImage mono(3, 1, QImage::Format_Mono);
    mono.setColor(0, kWhite);
    mono.setColor(1, kBlack);
    mono.setPixel(0, 0, 0);
    mono.setPixel(1, 0, 1);
    mono.setPixel(2, 0, 0);
    QImage canvas = filled(3, 1, kGrey);
    andCopy(canvas, 0, 0, 3, 1, mono, 0, 0);
    EXPECT_EQ(rowsOf(canvas), "g#g\n");
}

TEST(RasterAndCopy, OpaqueDestinationStaysOpaque)
{
    QImage src(1, 1, QImage::Format_ARGB32_Premultiplied);
    src.fill(0x00000000u); // fully transparent black
    QImage canvas = filled(1, 1, kWhite);
    andCopy(canvas, 0, 0, 1, 1, src, 0, 0);
    EXPECT_EQ(canvas.pixel(0, 0), kBlack);
}

struct StretchCase {
    const char* name;
    std::initializer_list<const char*> source;
    int w, h;
    const char* expected;
};

TEST(RasterStretch, KeepsBlackInkWhenShrinkingAndReplicatesWhenEnlarging)
{
    const StretchCase cases[] = {
        {"one black pixel survives halving", {"#...", "....", "....", "...."}, 2, 2, "#.\n..\n"},
        {"the last pixel of a span counts", {"....", "....", "....", "...#"}, 2, 2, "..\n.#\n"},
        {"a thin line stays a line", {"....", "####", "....", "...."}, 2, 2, "##\n..\n"},
        {"a column stays a column", {".#.", ".#.", ".#."}, 1, 3, "#\n#\n#\n"},
        {"uneven shrink", {"#....", ".....", "....#"}, 2, 2, "#.\n.#\n"},
        {"doubling", {"#.", ".#"}, 4, 4, "##..\n##..\n..##\n..##\n"},
        {"enlarging takes the pixel under each centre", {"#."}, 5, 1, "##...\n"},
        {"enlarge in x, shrink in y", {"#.", "..", ".#"}, 4, 1, "####\n"},
        {"same size is a plain copy", {"#..", ".#."}, 3, 2, "#..\n.#.\n"},
    };
    for (const StretchCase& c : cases) {
        const QImage src = picture(c.source);
        QImage dst = filled(c.w, c.h, kWhite);
        stretchBlackOnWhite(dst, 0, 0, c.w, c.h, src, 0, 0, src.width(), src.height());
        EXPECT_EQ(rowsOf(dst), c.expected) << c.name;
    }
}

TEST(RasterStretch, HalvedGlyphCellKeepsItsCornerInk)
{
    // A 14 x 25 cell shrunk to 7 x 12: its bottom-right pixel lands on the
    // destination's bottom-right pixel.
    QImage sheet = filled(40, 30, kWhite);
    sheet.setPixel(23 + 13, 24, kBlack);
    QImage page = filled(30, 50, kWhite);
    stretchBlackOnWhite(page, 20, 35, 7, 12, sheet, 23, 0, 14, 25);
    int black = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            black += page.pixel(x, y) == kBlack;
    EXPECT_EQ(black, 1);
    EXPECT_EQ(page.pixel(26, 46), kBlack);
}

TEST(RasterStretch, CombinesWithTheDestinationOnlyWhenAsked)
{
    const QImage src = picture({"#.", ".."});
    QImage anded = filled(1, 2, kGrey);
    stretchBlackOnWhite(anded, 0, 0, 1, 2, src, 1, 0, 1, 2, true);
    EXPECT_EQ(rowsOf(anded), "g\ng\n");
    QImage replaced = filled(1, 2, kGrey);
    stretchBlackOnWhite(replaced, 0, 0, 1, 2, src, 1, 0, 1, 2, false);
    EXPECT_EQ(rowsOf(replaced), ".\n.\n");
}

TEST(RasterStretch, ClipsToBothImages)
{
    const QImage src = picture({"#..#", "....", "....", "#..#"});
    // Half of the destination rectangle lies left of the image: the pixels
    // that remain are those of the right half of the mapping.
    QImage dst = filled(3, 2, kGrey);
    stretchBlackOnWhite(dst, -1, 0, 2, 2, src, 0, 0, 4, 4);
    EXPECT_EQ(rowsOf(dst), "#gg\n#gg\n");
    // A source rectangle beyond the source image contributes white.
    QImage beyond = filled(2, 2, kGrey);
    stretchBlackOnWhite(beyond, 0, 0, 2, 2, src, 2, 2, 4, 4);
    EXPECT_EQ(rowsOf(beyond), "#g\ngg\n");
}

TEST(RasterStretch, ZeroOrNegativeSizesDrawNothing)
{
    const QImage src = picture({"##", "##"});
    const int sizes[][4] = {{0, 2, 2, 2}, {2, 0, 2, 2}, {2, 2, 0, 2}, {2, 2, 2, 0}, {-2, 2, 2, 2}};
    for (const auto& s : sizes) {
        QImage dst = filled(2, 2, kWhite);
        stretchBlackOnWhite(dst, 0, 0, s[0], s[1], src, 0, 0, s[2], s[3]);
        EXPECT_EQ(rowsOf(dst), "..\n..\n");
    }
}

struct BlendCase {
    int src, dst, alpha, expected;
};

TEST(RasterAlphaBlend, RoundsEachChannelToNearest)
{
    const BlendCase cases[] = {
        {255, 0, 255, 255}, {17, 200, 255, 17}, {17, 200, 0, 200}, {255, 0, 128, 128}, {0, 255, 128, 127},
        {1, 0, 128, 1},     {1, 0, 127, 0},     {200, 100, 51, 120}, {0, 255, 77, 178}, {255, 255, 13, 255},
        {255, 0, 300, 255}, {255, 0, -5, 0},
    };
    for (const BlendCase& c : cases) {
        QImage src = filled(1, 1, qRgb(c.src, c.src / 2, 255 - c.src));
        QImage dst = filled(1, 1, qRgb(c.dst, c.dst / 2, 255 - c.dst));
        alphaBlendRect(dst, 0, 0, 1, 1, src, 0, 0, 1, 1, c.alpha);
        EXPECT_EQ(qRed(dst.pixel(0, 0)), c.expected) << c.src << " over " << c.dst << " at " << c.alpha;
        EXPECT_EQ(qAlpha(dst.pixel(0, 0)), 255);
    }
}

TEST(RasterAlphaBlend, MinusOneTakesTheDestinationSize)
{
    const QImage src = patterned(4, 4);
    QImage dst = filled(5, 5, kBlack);
    alphaBlendRect(dst, 1, 1, 3, 2, src, 1, 0, -1, -1, 255);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
            EXPECT_EQ(dst.pixel(x, y), inside ? src.pixel(x, y - 1) : kBlack) << x << "," << y;
        }
}

TEST(RasterAlphaBlend, StretchesAOnePixelSourceOverTheRectangle)
{
    // The selection band: a highlight colour spread over the dragged range.
    const QImage band = filled(1, 1, qRgb(0, 85, 255));
    QImage canvas = filled(6, 4, kWhite);
    alphaBlendRect(canvas, -2, 1, 5, 2, band, 0, 0, 1, 1, 100);
    const QRgb mixed = qRgb((0 * 100 + 255 * 155 + 127) / 255, (85 * 100 + 255 * 155 + 127) / 255, 255);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(canvas.pixel(x, y), (x < 3 && y >= 1 && y < 3) ? mixed : kWhite) << x << "," << y;
}

TEST(RasterAlphaBlend, SkipsPixelsWithoutASource)
{
    const QImage src = filled(2, 2, kBlack);
    QImage dst = filled(4, 1, kWhite);
    alphaBlendRect(dst, 0, 0, 4, 1, src, 1, 0, 4, 1, 255);
    EXPECT_EQ(rowsOf(dst), "#...\n");
}

} // namespace
