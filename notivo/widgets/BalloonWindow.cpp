#include "notivo/widgets/BalloonWindow.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "platform/chrome/WindowChrome.h"

namespace notivo {

namespace {
constexpr int PointerHeight = 20; // a rectangular tip starts below the pointer's picture
} // namespace

BalloonWindow::BalloonWindow(QWidget* owner, bool balloon, bool centered)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      owner_(owner), toolRect_(owner->rect()), centered_(centered)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    content_.balloon = balloon;
    autoHide_.setSingleShot(true);
    autoHide_.setInterval(AutoHideMs);
    connect(&autoHide_, &QTimer::timeout, this, &QWidget::hide);
    owner->installEventFilter(this);
    relayout();
}

BalloonWindow::~BalloonWindow()
{
    if (owner_)
        owner_->removeEventFilter(this);
}

void BalloonWindow::setTitle(int icon, const QString& title)
{
    content_.icon = icon;
    content_.title = title;
    relayout();
}

void BalloonWindow::setText(const QString& text)
{
    content_.text = text;
    relayout();
}

void BalloonWindow::setTextColor(const QColor& color)
{
    content_.textColor = color;
    update();
}

void BalloonWindow::setBackColor(const QColor& color)
{
    content_.backColor = color;
    update();
}

void BalloonWindow::popup(const QPoint& globalPointer)
{
    if (!owner_)
        return;
    // Where the tip points when it hangs below, and when it has to stand above.
    QPoint below, above;
    if (centered_) {
        below = owner_->mapToGlobal(QPoint(toolRect_.center().x(), toolRect_.bottom() + 1));
        above = owner_->mapToGlobal(QPoint(toolRect_.center().x(), toolRect_.top()));
    } else {
        above = globalPointer;
        below = content_.balloon ? globalPointer : globalPointer + QPoint(0, PointerHeight);
    }
    // Below and to the right, unless the screen ends there.
    stem_ = StemPlacement{};
    layout_ = layoutBalloon(content_, stem_);
    const QScreen* screen = QGuiApplication::screenAt(below);
    if (!screen)
        screen = owner_->screen();
    if (screen) {
        const QRect avail = screen->availableGeometry();
        stem_.top = below.y() + layout_.size.height() <= avail.bottom() + 1;
        stem_.left = below.x() + layout_.size.width() <= avail.right() + 1;
    }
    anchor_ = stem_.top ? below : above;
    relayout();
    if (screen) {
        // A pointer right at the screen's edge: keep the whole tip visible.
        const QRect avail = screen->availableGeometry();
        QRect g = geometry();
        g.moveLeft(std::clamp(g.left(), avail.left(), std::max(avail.left(), avail.right() + 1 - g.width())));
        g.moveTop(std::clamp(g.top(), avail.top(), std::max(avail.top(), avail.bottom() + 1 - g.height())));
        setGeometry(g);
    }
    if (content_.text.isEmpty() && content_.title.isEmpty())
        return; // nothing to show
    show();
    raise();
    autoHide_.start();
}

void BalloonWindow::relayout()
{
    layout_ = layoutBalloon(content_, stem_);
    const int w = layout_.size.width(), h = layout_.size.height();
    QPoint topLeft;
    if (content_.balloon)
        topLeft = anchor_ - layout_.stemTip;
    else
        topLeft = QPoint(centered_ ? anchor_.x() - w / 2 : stem_.left ? anchor_.x() : anchor_.x() - w,
                         stem_.top ? anchor_.y() : anchor_.y() - h);
    setGeometry(QRect(topLeft, layout_.size));
    if (content_.balloon)
        platform::chrome::setWindowShape(this, QRegion(balloonOutline(layout_)));
    else
        platform::chrome::setWindowShape(this, QRegion(rect()));
    update();
}

bool BalloonWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != owner_)
        return false;
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto* help = static_cast<QHelpEvent*>(event);
        if (!isVisible() && toolRect_.contains(help->pos()))
            popup(help->globalPos());
        return true; // the owner's plain tooltip never shows
    }
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::Hide:
        hide();
        break;
    default:
        break;
    }
    return false;
}

void BalloonWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor back = content_.backColor.isValid() ? content_.backColor : palette().color(QPalette::ToolTipBase);
    p.fillRect(rect(), back); // what the smoothed outline blends into
    paintBalloon(p, layout_, content_);
}

} // namespace notivo
