#include "notivo/editor/BusyAnimation.h"

#include <QPainter>

#include "platform/cursors/ClassCursors.h"
#include "platform/raster/CanvasScale.h"
#include "platform/raster/PictureBox.h"

namespace notivo {

void BusyAnimation::prepare(const platform::PictureBox& box, const platform::cursors::CursorHandle& cursor)
{
    const QImage& canvas = box.image();
    const QRgb back = box.backColor().rgb() | 0xFF000000u;
    if (cursor == preparedFor_ && canvas.devicePixelRatio() == ratio_ && back == back_)
        return;
    preparedFor_ = cursor;
    ratio_ = canvas.devicePixelRatio();
    back_ = back;
    frames_.clear();
    if (!cursor)
        return;
    for (int i = 0; i < platform::cursors::frameCount(cursor); ++i) {
        const QSize size = cursor->frames[std::size_t(i)].image.size();
        QImage frame(platform::raster::deviceSize(size, ratio_), canvas.format());
        frame.setDevicePixelRatio(ratio_);
        frame.fill(back_);
        QPainter painter(&frame);
        platform::cursors::drawCursorFrame(painter, QPoint(0, 0), cursor, i);
        painter.end();
        frames_.push_back(std::move(frame));
    }
}

void BusyAnimation::show(platform::PictureBox& box, QPoint corner, const platform::cursors::CursorHandle& cursor,
                         int frame)
{
    prepare(box, cursor);
    if (frames_.empty())
        return;
    const int count = int(frames_.size());
    const QImage& cell = frames_[std::size_t(((frame % count) + count) % count)];
    {
        QPainter painter(&box.image());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(corner, cell);
    }
    box.update(QRect(corner, platform::raster::logicalSize(cell)) & box.rect());
}

} // namespace notivo
