#pragma once
#include <QDir>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QString>

// Reads a printed PDF back the way a person would look at it: the page count
// from pdfinfo and every page rendered by pdftoppm at 127 dpi, where one
// staff pixel (0.2 mm) is exactly one image pixel.
namespace pdfpages {

inline constexpr int Dpi = 127;
inline constexpr int MarginPixels = 75; // 15 mm at 127 dpi

inline int pageCount(const QString& pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(30000) || info.exitCode() != 0)
        return -1;
    const QStringList lines = QString::fromLocal8Bit(info.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

inline QList<QImage> render(const QString& pdf, const QString& folder)
{
    QProcess toppm;
    toppm.start(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-gray"), QStringLiteral("-png"), pdf,
                 folder + QStringLiteral("/page")});
    QList<QImage> pages;
    if (!toppm.waitForFinished(60000) || toppm.exitCode() != 0)
        return pages;
    // page-1.png, page-01.png ...: the numbers are zero-padded to one width,
    // so sorting by name keeps the page order.
    const QStringList files = QDir(folder).entryList({QStringLiteral("page-*.png")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        pages.append(QImage(folder + QLatin1Char('/') + file).convertToFormat(QImage::Format_Grayscale8));
    return pages;
}

// Dark ink anywhere in the square of half-width `reach` around (x, y).
inline bool inkNear(const QImage& page, int x, int y, int reach = 1)
{
    for (int j = y - reach; j <= y + reach; ++j)
        for (int i = x - reach; i <= x + reach; ++i)
            if (page.rect().contains(i, j) && qGray(page.pixel(i, j)) < 128)
                return true;
    return false;
}

// No ink at all in the rectangle.
inline bool blank(const QImage& page, const QRect& rect)
{
    for (int j = rect.top(); j <= rect.bottom(); ++j)
        for (int i = rect.left(); i <= rect.right(); ++i)
            if (page.rect().contains(i, j) && qGray(page.pixel(i, j)) < 200)
                return false;
    return true;
}

} // namespace pdfpages
