#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QStringList>
#include <QVector>

class QPainter;

namespace notivo {

// What a tip shows.  The title and its icon appear only with a non-empty
// title; unset colours are the system's tooltip colours.
struct BalloonContent {
    QString title;
    int icon = 0;          // 0 none, 1 information, 2 warning, 3 error
    QString text;          // lines separated by CR LF (a lone CR or LF also breaks)
    QColor textColor;      // invalid = system default
    QColor backColor;      // invalid = system default
    bool balloon = false;  // rounded balloon with a stem, else a plain rectangle
};

// Where the stem of a balloon sits: on the top edge (the tip hangs below the
// point it shows at) or the bottom edge, near the left or the right end.
struct StemPlacement {
    bool top = true;
    bool left = true;
};

// The geometry of a tip, in the tip window's own coordinates.
struct BalloonLayout {
    QFont titleFont;
    QFont textFont;
    QSize size;            // the whole window
    QRect body;            // the rounded (or plain) box
    QPolygon stem;         // empty for a rectangular tip
    QPoint stemTip;        // the point the tip shows at
    QRect iconRect;        // empty without icon
    QRect titleRect;       // empty without title
    QStringList lines;
    QVector<QRect> lineRects;
};

QStringList tipLines(const QString& text);
BalloonLayout layoutBalloon(const BalloonContent& content, StemPlacement stem = {});
void paintBalloon(QPainter& painter, const BalloonLayout& layout, const BalloonContent& content);
// The tip drawn on a transparent image of layout.size.
QImage renderBalloon(const BalloonContent& content, StemPlacement stem = {});

// The outline of the tip (body and stem), for the window's shape.
QPolygon balloonOutline(const BalloonLayout& layout);

} // namespace notivo
