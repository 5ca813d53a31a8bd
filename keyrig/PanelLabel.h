#pragma once
#include <QColor>
#include <QLabel>

// A label drawn on the panel that reports the mouse the way the panel's
// handlers want it: down, move and up with the button and the position in
// the label, and a click (left button pressed and released over it).  It can
// show a symbol picture (white on transparency, at the screen's density)
// tinted with its text colour instead of text.
class PanelLabel : public QLabel {
    Q_OBJECT
public:
    explicit PanelLabel(QWidget* parent = nullptr);

    void setBackColour(const QColor& colour); // an invalid colour: see-through
    void setTextColour(const QColor& colour);
    QColor backColour() const { return back_; }
    QColor textColour() const { return text_; }
    void setSymbol(const QString& picture); // the symbol picture's path

signals:
    void mouseDown(Qt::MouseButton button, QPointF pos);
    void mouseMove(QPointF pos);
    void mouseUp(Qt::MouseButton button, QPointF pos);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor back_;
    QColor text_{Qt::black};
    QString symbol_;
};
