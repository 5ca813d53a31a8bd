#include "notivo/widgets/XPTitleButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "notivo/widgets/WidgetArt.h"
#include "notivo/widgets/WidgetColor.h"
#include "notivo/widgets/WidgetFonts.h"
#include "platform/raster/CanvasScale.h"

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

// The picture of a face (style * 2, plus 1 when pressed) for a device pixel ratio.
QImage facePicture(int face, qreal ratio)
{
    return widgetPicture(QString::fromLatin1(kFaces[face / 2][face % 2]), ratio);
}

// An image the size of the face at a device pixel ratio, filled with `fill`.
QImage faceSized(qreal ratio, QImage::Format format, const QColor& fill)
{
    QImage image(platform::raster::deviceSize({XPTitleButton::Side, XPTitleButton::Side}, ratio), format);
    image.setDevicePixelRatio(ratio);
    image.fill(fill);
    return image;
}

} // namespace

XPTitleButton::XPTitleButton(QWidget* parent) : QWidget(parent)
{
    resize(Side, Side);
    Cls();
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
    face_ = style_ * 2 + (pressed ? 1 : 0);
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
    // Text printed from now on is as sharp as the screen the button is on.
    text_ = faceSized(ratio(), QImage::Format_ARGB32_Premultiplied, Qt::transparent);
    update();
}

void XPTitleButton::Refresh()
{
    repaint();
}

qreal XPTitleButton::ratio() const { return platform::raster::canvasRatio(devicePixelRatio()); }

QImage XPTitleButton::faceImage() const
{
    QImage image = faceSized(ratio(), QImage::Format_RGB32, palette().color(QPalette::Button));
    QPainter p(&image);
    if (face_ >= 0)
        p.drawImage(0, 0, facePicture(face_, image.devicePixelRatio()));
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
