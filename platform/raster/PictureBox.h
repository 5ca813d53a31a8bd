#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

namespace platform {

// A picture box: a widget that owns a persistent image the size of its client
// area.  Drawing goes into the image (Cls, Line, PSet, raster copies onto
// image()) and becomes visible at the next repaint, or at once on refresh().
// On a high-density screen the image holds the screen's device pixels and
// carries its ratio (see CanvasScale.h); drawing still takes logical pixels.
// Mouse events are re-emitted in image pixels, as the programs' handlers
// expect them (button: Qt::MouseButton of the event, buttons: all held).
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The image follows the widget's size at once, also while the widget is
    // hidden (when Qt defers its resize events).
    QImage& image() { syncImageSize(); return image_; }
    const QImage& image() const { syncImageSize(); return image_; }

    void setBackColor(const QColor& color); // also clears, as a new back colour does
    QColor backColor() const { return backColor_; }
    void setForeColor(const QColor& color) { foreColor_ = color; }
    QColor foreColor() const { return foreColor_; }

    int scaleWidth() const;  // the image's size in logical pixels
    int scaleHeight() const;

    void cls();                                                   // fill with the back colour
    void line(int x1, int y1, int x2, int y2, const QColor& color); // end point excluded, like LineTo
    void line(int x1, int y1, int x2, int y2) { line(x1, y1, x2, y2, foreColor_); }
    void pset(int x, int y, const QColor& color);
    void refresh();                                               // repaint now

signals:
    void mouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y);
    void mouseUp(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void syncImageSize() const;

    mutable QImage image_; // resized lazily by syncImageSize
    QColor backColor_ = Qt::white;
    QColor foreColor_ = Qt::black;
};

} // namespace platform
