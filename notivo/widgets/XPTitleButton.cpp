#include "notivo/widgets/XPTitleButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "notivo/widgets/WidgetArt.h"
#include "notivo/widgets/WidgetColor.h"
#include "notivo/widgets/WidgetFonts.h"

namespace notivo {

namespace {

// Normal and pressed pictures of each style.
const char* const kFaces[4][2] = {
    {"caption_close", "caption_close_pressed"},
    {"caption_maximise", "caption_maximise_pressed"},
    {"caption_minimise", "caption_minimise_pressed"},
    {"caption_blank", "caption_blank_pressed"},
};

bool hasFace(int style) { return style >= 0 && style <= 3; }

// The eight pictures, read once for all buttons.
const QImage& facePicture(int style, bool pressed)
{
    static const auto pictures = [] {
        std::array<QImage, 8> all;
        for (int i = 0; i < 8; ++i)
            all[i] = widgetPicture(QString::fromLatin1(kFaces[i / 2][i % 2]));
        return all;
    }();
    return pictures[style * 2 + (pressed ? 1 : 0)];
}

} // namespace

XPTitleButton::XPTitleButton(QWidget* parent) : QWidget(parent)
{
    resize(Side, Side);
    text_ = QImage(Side, Side, QImage::Format_ARGB32_Premultiplied);
    text_.fill(Qt::transparent);
    // A new button has no face yet; the host hears DrawPic once it is wired.
    QTimer::singleShot(0, this, &XPTitleButton::DrawPic);
}

void XPTitleButton::setStyle(int style)
{
    style_ = style;
    if (hasFace(style))
        showFace(false);
    emit DrawPic();
}

void XPTitleButton::showFace(bool pressed)
{
    pressed_ = pressed;
    face_ = facePicture(style_, pressed);
    update();
}

void XPTitleButton::DrawText(const QString& Text, int x, int y, const QString& FontName, int FontSize,
                             std::uint32_t Color, bool Bold, bool Italic, bool Underline)
{
    QFont font = substituteFont(FontName, FontSize, Bold);
    font.setItalic(Italic);
    font.setUnderline(Underline);
    font.setStyleStrategy(QFont::NoAntialias);
    QPainter p(&text_);
    p.setFont(font);
    p.setPen(colorFromBgr(Color));
    p.drawText(x, y + QFontMetrics(font).ascent(), Text);
    p.end();
    update();
}

void XPTitleButton::Cls()
{
    text_.fill(Qt::transparent);
    update();
}

void XPTitleButton::Refresh()
{
    repaint();
}

QImage XPTitleButton::faceImage() const
{
    QImage image(Side, Side, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Button));
    QPainter p(&image);
    if (!face_.isNull())
        p.drawImage(0, 0, face_);
    p.drawImage(0, 0, text_);
    return image;
}

void XPTitleButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, faceImage());
}

void XPTitleButton::resizeEvent(QResizeEvent*)
{
    if (size() != QSize(Side, Side))
        resize(Side, Side);
}

void XPTitleButton::mousePressEvent(QMouseEvent* event)
{
    if (hasFace(style_))
        showFace(true);
    const QPointF pos = event->position();
    emit MouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
}

void XPTitleButton::mouseReleaseEvent(QMouseEvent* event)
{
    // The normal face comes back wherever the pointer was released.
    if (hasFace(style_))
        showFace(false);
    const QPointF pos = event->position();
    emit MouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
    if (event->button() == Qt::LeftButton && rect().contains(pos.toPoint()))
        emit Click();
}

} // namespace notivo
