#include "notivo/staff/GlyphSheet.h"

namespace notivo::staff {
namespace {

QImage loadPicture(const char* resource, int width, int height)
{
    QImage image(QString::fromLatin1(resource));
    if (image.isNull() || image.width() != width || image.height() != height) {
        // Without its picture the program still draws (staff lines only) rather than failing.
        QImage blank(width, height, QImage::Format_RGB32);
        blank.fill(Qt::white);
        return blank;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

const QImage& glyphSheet()
{
    static const QImage sheet = loadPicture(":/images/glyphs.png", GlyphSheetWidth, GlyphSheetHeight);
    return sheet;
}

const QImage& clefImage()
{
    static const QImage clef = loadPicture(":/images/clef.png", ClefWidth, ClefHeight);
    return clef;
}

} // namespace notivo::staff
