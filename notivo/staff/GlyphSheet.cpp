#include "notivo/staff/GlyphSheet.h"

#include "platform/raster/CanvasScale.h"
#include "platform/raster/RatioPicture.h"

#include <map>

namespace notivo::staff {
namespace {

QImage loadPicture(const char* resource, QSize size, qreal ratio)
{
    QImage image = platform::raster::pictureForRatio(QString::fromLatin1(resource), ratio);
    if (image.isNull() || platform::raster::logicalSize(image) != size) {
        // Without its picture the program still draws (staff lines only) rather than failing.
        QImage blank(platform::raster::deviceSize(size, ratio), QImage::Format_RGB32);
        blank.setDevicePixelRatio(ratio);
        blank.fill(Qt::white);
        return blank;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// One picture per ratio a canvas has been drawn at.
const QImage& keptPicture(std::map<qreal, QImage>& kept, const char* resource, QSize size, qreal ratio)
{
    const qreal canvasRatio = platform::raster::canvasRatio(ratio);
    auto found = kept.find(canvasRatio);
    if (found == kept.end())
        found = kept.emplace(canvasRatio, loadPicture(resource, size, canvasRatio)).first;
    return found->second;
}

} // namespace

const QImage& glyphSheet(qreal ratio)
{
    static std::map<qreal, QImage> sheets;
    return keptPicture(sheets, ":/images/glyphs.png", {GlyphSheetWidth, GlyphSheetHeight}, ratio);
}

const QImage& clefImage(qreal ratio)
{
    static std::map<qreal, QImage> clefs;
    return keptPicture(clefs, ":/images/clef.png", {ClefWidth, ClefHeight}, ratio);
}

} // namespace notivo::staff
