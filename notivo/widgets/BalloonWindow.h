#pragma once
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "notivo/widgets/BalloonLayout.h"

namespace notivo {

// The window of one tip.  It watches its owner control: when the pointer
// rests over the tool rectangle (the owner's client area when the tip was
// made) it pops up at the pointer, or centred under the tool, and it hides
// when the pointer leaves, a button or key is pressed, or after a while.  It
// takes the owner's tooltip events, so no plain tooltip shows over the owner.
class BalloonWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int AutoHideMs = 10000;

    BalloonWindow(QWidget* owner, bool balloon, bool centered);
    ~BalloonWindow() override;

    void setTitle(int icon, const QString& title);
    void setText(const QString& text);
    void setTextColor(const QColor& color);
    void setBackColor(const QColor& color);

    const BalloonContent& content() const { return content_; }
    QWidget* owner() const { return owner_; }
    QRect toolRect() const { return toolRect_; }
    bool isCentered() const { return centered_; }

    // Shows the tip for a pointer at `globalPointer` (ignored when centred).
    void popup(const QPoint& globalPointer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void relayout();

    QPointer<QWidget> owner_;
    QRect toolRect_;
    bool centered_;
    BalloonContent content_;
    StemPlacement stem_;
    BalloonLayout layout_;
    QPoint anchor_; // the global point the tip shows at
    QTimer autoHide_;
};

} // namespace notivo
