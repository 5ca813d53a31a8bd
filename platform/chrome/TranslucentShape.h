#pragma once
#include <QObject>
#include <QRegion>

class QWidget;

namespace platform::chrome {

// The shape of a window on a display that composites: the window is
// translucent and nothing is painted outside its shape, so the desktop shows
// there.  The toolkit clips painting to a window's mask only on X11, so this
// does it everywhere: the window's own painting is followed by clearing what
// lies outside, and each child that reaches outside gets the shape as its
// mask (a child's mask clips its painting and its children's).
class TranslucentShape : public QObject {
    Q_OBJECT
public:
    // Takes `window` (not yet shown) translucent; owned by the window.
    static TranslucentShape* of(QWidget* window);
    void setShape(const QRegion& shape);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TranslucentShape(QWidget* window);
    void paintWindow(QEvent* paint);
    void clipChild(QWidget* child) const;

    QWidget* window_;
    QRegion shape_;
};

} // namespace platform::chrome
