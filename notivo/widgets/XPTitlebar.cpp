#include "notivo/widgets/XPTitlebar.h"

#include <QMouseEvent>
#include <QPainter>

#include "notivo/widgets/WidgetArt.h"
#include "platform/chrome/WindowChrome.h"
#include "platform/raster/CanvasScale.h"

namespace notivo {

// One piece of the bar: paints its picture (stretched to `pictureSize` when
// given) and hands presses and double-clicks to the bar.
class TitlebarPart : public QWidget {
public:
    TitlebarPart(XPTitlebar* bar, QWidget* parent, XPTitlebar::Part part, QString picture = {},
                 QSize pictureSize = {})
        : QWidget(parent), bar_(bar), part_(part), picture_(std::move(picture)), pictureSize_(pictureSize)
    {
        setProperty("titlebarPart", int(part));
    }

    XPTitlebar::Part part() const { return part_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (picture_.isEmpty())
            return; // the corner bands are invisible
        const QImage picture = widgetPicture(picture_, devicePixelRatio());
        QPainter p(this);
        p.drawImage(QRect(QPoint(0, 0), pictureSize_.isValid() ? pictureSize_ : platform::raster::logicalSize(picture)),
                    picture);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        bar_->partPressed(part_, event->globalPosition().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { bar_->partDoubleClicked(part_); }

private:
    XPTitlebar* bar_;
    XPTitlebar::Part part_;
    QString picture_; // the widget picture's name; none for the corner bands
    QSize pictureSize_;
};

namespace {

constexpr int LeftCapWidth = 20;
constexpr int RightCapWidth = 17;
constexpr int StripHeight = 7;
constexpr int CoverWidth = 1024; // the middle and the strip cover windows up to this width

void systemWindowAction(QWidget* window, XPTitlebar::WindowAction action, const QPoint& globalPos)
{
    using platform::chrome::ResizeEdge;
    switch (action) {
    case XPTitlebar::WindowAction::Move: platform::chrome::startWindowDrag(window, globalPos); break;
    case XPTitlebar::WindowAction::ResizeTop: platform::chrome::startWindowResize(window, ResizeEdge::Top, globalPos); break;
    case XPTitlebar::WindowAction::ResizeTopLeft: platform::chrome::startWindowResize(window, ResizeEdge::TopLeft, globalPos); break;
    case XPTitlebar::WindowAction::ResizeTopRight: platform::chrome::startWindowResize(window, ResizeEdge::TopRight, globalPos); break;
    }
}

} // namespace

XPTitlebar::XPTitlebar(QWidget* parent) : QWidget(parent), startWindowAction(systemWindowAction)
{
    const QString middlePicture = QStringLiteral("titlebar_middle");
    // Created back to front: the middle, the strip over it, the caps on top.
    middle_ = new TitlebarPart(this, this, Part::Middle, middlePicture, QSize(CoverWidth, BarHeight));
    middle_->setGeometry(0, 0, CoverWidth, BarHeight);
    // The strip shows the top rows of the same stretched middle picture.
    strip_ = new TitlebarPart(this, this, Part::TopStrip, middlePicture, QSize(CoverWidth, BarHeight));
    strip_->setGeometry(0, 0, CoverWidth, StripHeight);
    leftCap_ = new TitlebarPart(this, this, Part::LeftCap, QStringLiteral("titlebar_left"));
    rightCap_ = new TitlebarPart(this, this, Part::RightCap, QStringLiteral("titlebar_right"));

    // Corner bands, clipped by their caps.
    corners_[0] = new TitlebarPart(this, leftCap_, Part::LeftCornerTop);
    corners_[0]->setGeometry(-3, -1, 30, 8);
    corners_[3] = new TitlebarPart(this, leftCap_, Part::LeftCornerSide);
    corners_[3]->setGeometry(-1, -1, 8, 32);
    corners_[1] = new TitlebarPart(this, rightCap_, Part::RightCornerTop);
    corners_[1]->setGeometry(-1, -1, 26, 8);
    corners_[2] = new TitlebarPart(this, rightCap_, Part::RightCornerSide);
    corners_[2]->setGeometry(8, -1, 9, 30);

    resize(width(), BarHeight);
    placeCaps();
    Pointers(sizeable_);
}

void XPTitlebar::setSizeable(bool sizeable)
{
    sizeable_ = sizeable;
    Pointers(sizeable);
}

void XPTitlebar::Pointers(bool SizeableOnes)
{
    strip_->setCursor(SizeableOnes ? Qt::SizeVerCursor : Qt::ArrowCursor);
    for (int i : {0, 3})
        corners_[i]->setCursor(SizeableOnes ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
    for (int i : {1, 2})
        corners_[i]->setCursor(SizeableOnes ? Qt::SizeBDiagCursor : Qt::ArrowCursor);
}

XPTitlebar::Part XPTitlebar::partAt(const QPoint& pos) const
{
    if (!rect().contains(pos))
        return Part::None;
    for (QWidget* w = childAt(pos); w; w = w->parentWidget()) {
        if (auto* part = dynamic_cast<TitlebarPart*>(w))
            return part->part();
        if (w == this)
            break;
    }
    return Part::None;
}

void XPTitlebar::partPressed(Part part, const QPoint& globalPos)
{
    switch (part) {
    case Part::Middle:
    case Part::LeftCap:
    case Part::RightCap:
        startWindowAction(window(), WindowAction::Move, globalPos);
        break;
    case Part::TopStrip:
        if (sizeable_)
            startWindowAction(window(), WindowAction::ResizeTop, globalPos);
        break;
    case Part::LeftCornerTop:
    case Part::LeftCornerSide:
        if (sizeable_) {
            startWindowAction(window(), WindowAction::ResizeTopLeft, globalPos);
            keepParentWideEnough();
        }
        break;
    case Part::RightCornerTop:
    case Part::RightCornerSide:
        if (sizeable_) {
            startWindowAction(window(), WindowAction::ResizeTopRight, globalPos);
            keepParentWideEnough();
        }
        break;
    case Part::None:
        break;
    }
}

void XPTitlebar::partDoubleClicked(Part part)
{
    if (part != Part::LeftCap && part != Part::RightCap && part != Part::TopStrip && part != Part::None)
        emit DblClick();
}

void XPTitlebar::keepParentWideEnough()
{
    QWidget* parent = window();
    if (parent == this || (parent->windowState() & Qt::WindowMinimized))
        return; // no parent yet, or minimised: its width is not ours to fix
    if (width() < MinimumParentWidth)
        parent->resize(MinimumParentWidth, parent->height());
}

void XPTitlebar::resizeEvent(QResizeEvent*)
{
    emit Resize();
    keepParentWideEnough();
    if (height() != BarHeight) {
        resize(width(), BarHeight);
        return; // the caps follow on the resize this causes
    }
    placeCaps();
}

void XPTitlebar::placeCaps()
{
    leftCap_->setGeometry(0, 0, LeftCapWidth, BarHeight);
    rightCap_->setGeometry(width() - RightCapWidth, 0, RightCapWidth, BarHeight);
}

} // namespace notivo
