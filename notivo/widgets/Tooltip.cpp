#include "notivo/widgets/Tooltip.h"

#include "notivo/widgets/BalloonWindow.h"
#include "notivo/widgets/WidgetColor.h"

namespace notivo {

Tooltip::Tooltip(QObject* parent) : QObject(parent) {}

Tooltip::~Tooltip()
{
    destroyWindow();
}

void Tooltip::destroyWindow()
{
    delete window_.data();
    window_ = nullptr;
}

void Tooltip::Create()
{
    destroyWindow();
    if (!parentControl_)
        return;
    window_ = new BalloonWindow(parentControl_, style_ == BalloonStyle, centered_);
    window_->setText(tipText_);
    if (!title_.isEmpty() || icon_ != 0)
        sendTitle();
    // A colour of 0 means the system's here; it can be set later while the window exists.
    if (foreColor_ != 0)
        window_->setTextColor(colorFromBgr(foreColor_));
    if (backColor_ != 0)
        window_->setBackColor(colorFromBgr(backColor_));
}

void Tooltip::sendTitle()
{
    window_->setTitle(icon_, title_);
}

void Tooltip::setIcon(int icon)
{
    icon_ = icon;
    if (window_ && !title_.isEmpty() && icon_ != 0)
        sendTitle();
}

void Tooltip::setTitle(const QString& title)
{
    title_ = title;
    if (window_ && !title_.isEmpty() && icon_ != 0)
        sendTitle();
}

void Tooltip::setForeColor(std::uint32_t color)
{
    foreColor_ = color;
    if (window_)
        window_->setTextColor(colorFromBgr(color));
}

void Tooltip::setBackColor(std::uint32_t color)
{
    backColor_ = color;
    if (window_)
        window_->setBackColor(colorFromBgr(color));
}

void Tooltip::setTipText(const QString& text)
{
    tipText_ = text;
    if (window_)
        window_->setText(text);
}

} // namespace notivo
