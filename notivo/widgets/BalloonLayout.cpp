#include "notivo/widgets/BalloonLayout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QToolTip>

#include "notivo/widgets/WidgetFonts.h"

namespace notivo {

namespace {

constexpr int BalloonMargin = 8;
constexpr int RectMargin = 4;
constexpr int IconSide = 16;
constexpr int IconGap = 6;
constexpr int TitleGap = 6;
constexpr int StemHeight = 14;
constexpr int StemBase = 14;
constexpr int StemInset = 16; // from the body's end to the near side of the stem
constexpr int Radius = 8;

QPainterPath outlinePath(const BalloonLayout& l)
{
    QPainterPath path;
    if (l.stem.isEmpty()) {
        path.addRect(QRectF(l.body).adjusted(0.5, 0.5, -0.5, -0.5));
        return path;
    }
    QPainterPath body;
    body.addRoundedRect(QRectF(l.body).adjusted(0.5, 0.5, -0.5, -0.5), Radius, Radius);
    QPainterPath stem;
    stem.addPolygon(QPolygonF(l.stem));
    stem.closeSubpath();
    return body.united(stem).simplified();
}

void paintIcon(QPainter& p, const QRect& r, int icon)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF f = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    switch (icon) {
    case 1: // information: white "i" on a blue disc
        p.setPen(QColor(20, 60, 160));
        p.setBrush(QColor(40, 110, 220));
        p.drawEllipse(f);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(r.center().x() - 0.5, r.top() + 3, 2.5, 2.5));
        p.drawRect(QRectF(r.center().x() - 0.5, r.top() + 6.5, 2.5, 6.5));
        break;
    case 2: // warning: black "!" on a yellow triangle
        p.setPen(QColor(150, 110, 0));
        p.setBrush(QColor(250, 210, 40));
        p.drawPolygon(QPolygonF({QPointF(f.center().x(), f.top()), f.bottomRight(), f.bottomLeft()}));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(r.center().x() - 0.5, r.top() + 5, 2, 5));
        p.drawRect(QRectF(r.center().x() - 0.5, r.top() + 11.5, 2, 2));
        break;
    case 3: // error: white cross on a red disc
        p.setPen(QColor(140, 20, 20));
        p.setBrush(QColor(220, 40, 40));
        p.drawEllipse(f);
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(f.left() + 5, f.top() + 5), QPointF(f.right() - 5, f.bottom() - 5));
        p.drawLine(QPointF(f.right() - 5, f.top() + 5), QPointF(f.left() + 5, f.bottom() - 5));
        break;
    default:
        break;
    }
    p.restore();
}

} // namespace

QStringList tipLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

namespace {

// The title row (icon and title) and the lines of text, relative to the
// body's inner top-left corner; returns the size they take together.
QSize layOutContent(BalloonLayout& l, const BalloonContent& content)
{
    const QFontMetrics textMetrics(l.textFont);
    const QFontMetrics titleMetrics(l.titleFont);
    const bool hasTitle = !content.title.isEmpty();
    const bool hasIcon = hasTitle && content.icon >= 1 && content.icon <= 3;
    int width = 0;
    int y = 0;
    if (hasTitle) {
        const int rowHeight = std::max(hasIcon ? IconSide : 0, titleMetrics.height());
        int x = 0;
        if (hasIcon) {
            l.iconRect = QRect(0, (rowHeight - IconSide) / 2, IconSide, IconSide);
            x = IconSide + IconGap;
        }
        l.titleRect = QRect(x, (rowHeight - titleMetrics.height()) / 2,
                            titleMetrics.horizontalAdvance(content.title), titleMetrics.height());
        width = l.titleRect.right() + 1;
        y = rowHeight;
    }
    l.lines = tipLines(content.text);
    if (hasTitle && !l.lines.isEmpty())
        y += TitleGap;
    for (const QString& line : l.lines) {
        const QRect r(0, y, textMetrics.horizontalAdvance(line), textMetrics.height());
        l.lineRects.append(r);
        width = std::max(width, r.width());
        y += textMetrics.lineSpacing();
    }
    const int height = l.lines.isEmpty() ? y : y - textMetrics.lineSpacing() + textMetrics.height();
    return {width, height};
}

// The stem of a balloon leans outwards from a base near one end of the body.
void placeStem(BalloonLayout& l, StemPlacement stem)
{
    const int bodyTop = l.body.top();
    const int baseNear = stem.left ? StemInset : l.body.width() - StemInset;
    const int baseFar = stem.left ? baseNear + StemBase : baseNear - StemBase;
    const int tipX = stem.left ? baseNear - StemInset / 2 : baseNear + StemInset / 2;
    if (stem.top) {
        l.stemTip = QPoint(tipX, 0);
        l.stem = QPolygon({QPoint(baseNear, bodyTop + 1), l.stemTip, QPoint(baseFar, bodyTop + 1)});
    } else {
        const int bottom = l.body.bottom() + 1;
        l.stemTip = QPoint(tipX, l.size.height() - 1);
        l.stem = QPolygon({QPoint(baseNear, bottom - 1), l.stemTip, QPoint(baseFar, bottom - 1)});
    }
}

} // namespace

BalloonLayout layoutBalloon(const BalloonContent& content, StemPlacement stem)
{
    BalloonLayout l;
    l.textFont = substituteFont(QStringLiteral("MS Sans Serif"), 8);
    l.titleFont = l.textFont;
    l.titleFont.setBold(true);
    const int margin = content.balloon ? BalloonMargin : RectMargin;

    // Content first, then the body around it and the stem beside that.
    const QSize inner = layOutContent(l, content);
    QSize bodySize(inner.width() + 2 * margin, inner.height() + 2 * margin);
    if (content.balloon)
        bodySize = bodySize.expandedTo(QSize(2 * StemInset + StemBase + 2 * Radius, 2 * Radius + 2));
    const int bodyTop = content.balloon && stem.top ? StemHeight : 0;
    l.body = QRect(QPoint(0, bodyTop), bodySize);
    l.size = QSize(bodySize.width(), bodySize.height() + (content.balloon ? StemHeight : 0));
    const QPoint innerCorner(margin, bodyTop + margin);
    l.iconRect.translate(innerCorner);
    if (!l.titleRect.isNull())
        l.titleRect.translate(innerCorner);
    for (QRect& r : l.lineRects)
        r.translate(innerCorner);

    if (content.balloon)
        placeStem(l, stem);
    return l;
}

QPolygon balloonOutline(const BalloonLayout& layout)
{
    return outlinePath(layout).toFillPolygon().toPolygon();
}

void paintBalloon(QPainter& p, const BalloonLayout& l, const BalloonContent& content)
{
    const QPalette system = QToolTip::palette();
    const QColor back = content.backColor.isValid() ? content.backColor : system.color(QPalette::ToolTipBase);
    const QColor ink = content.textColor.isValid() ? content.textColor : system.color(QPalette::ToolTipText);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, content.balloon);
    p.setPen(QPen(QColor(100, 100, 100), 1));
    p.setBrush(back);
    p.drawPath(outlinePath(l));
    p.restore();

    if (!l.iconRect.isEmpty())
        paintIcon(p, l.iconRect, content.icon);
    p.setPen(ink);
    if (!l.titleRect.isNull()) {
        p.setFont(l.titleFont);
        p.drawText(l.titleRect.left(), l.titleRect.top() + QFontMetrics(l.titleFont).ascent(), content.title);
    }
    p.setFont(l.textFont);
    const int ascent = QFontMetrics(l.textFont).ascent();
    for (int i = 0; i < l.lines.size(); ++i)
        p.drawText(l.lineRects[i].left(), l.lineRects[i].top() + ascent, l.lines[i]);
}

QImage renderBalloon(const BalloonContent& content, StemPlacement stem)
{
    const BalloonLayout layout = layoutBalloon(content, stem);
    QImage image(layout.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintBalloon(p, layout, content);
    return image;
}

} // namespace notivo
