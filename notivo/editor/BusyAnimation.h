#pragma once
#include <QImage>
#include <QPoint>
#include <vector>

#include "platform/cursors/CursorFile.h"

namespace platform {
class PictureBox;
}

namespace notivo {

// The busy animation in its picture box.  Its frames are drawn once onto the
// box's back colour, in the box image's own format and pixel ratio, so that a
// tick copies one cell without converting anything and asks the screen to
// show that cell alone: an idle window then costs the desktop one small
// damaged rectangle per tick.
class BusyAnimation {
public:
    // Shows frame `frame` (wrapped to the cursor's frame count) with its top
    // left at `corner` of `box`.  Nothing for a null cursor.
    void show(platform::PictureBox& box, QPoint corner, const platform::cursors::CursorHandle& cursor, int frame);

private:
    void prepare(const platform::PictureBox& box, const platform::cursors::CursorHandle& cursor);

    std::vector<QImage> frames_;
    platform::cursors::CursorHandle preparedFor_;
    qreal ratio_ = 0;
    QRgb back_ = 0;
};

} // namespace notivo
