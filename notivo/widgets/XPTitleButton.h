#pragma once
#include <QImage>
#include <QWidget>
#include <cstdint>

namespace notivo {

// A caption button of a drawn title bar, always 21 x 21 pixels.  Its face is
// chosen by Style (0 close, 1 maximise, 2 minimise, 3 blank; other values
// keep the current face) and turns to the pressed face while a mouse button
// is held on it.  The host may print text onto the face with DrawText; the
// text stays over the face until Cls.
class XPTitleButton : public QWidget {
    Q_OBJECT
public:
    static constexpr int Side = 21;

    explicit XPTitleButton(QWidget* parent = nullptr);

    int Style() const { return style_; }
    void setStyle(int style);

    // A plain stored number, kept for hosts that set it.
    std::int32_t hDC() const { return hdc_; }
    void sethDC(std::int32_t value) { hdc_ = value; }

    // Prints Text with its top-left corner at (x, y) of the face.  Color is
    // 0x00BBGGRR.  Text is drawn without smoothing so that each layer keeps
    // its exact colour.
    void DrawText(const QString& Text, int x, int y, const QString& FontName, int FontSize,
                  std::uint32_t Color = 0, bool Bold = false, bool Italic = false, bool Underline = false);
    void Cls();     // removes everything printed; the face stays
    void Refresh(); // repaints now

    // What the control shows: the face with the printed text over it, at the
    // device pixel ratio of the screen the control is on.
    QImage faceImage() const;
    bool isPressed() const { return pressed_; }

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void DrawPic();   // the face was (re)chosen: the host redraws its additions here
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showFace(bool pressed);
    qreal ratio() const;

    int style_ = 0;
    std::int32_t hdc_ = 0;
    bool pressed_ = false;
    int face_ = -1; // the picture shown, style * 2 + 1 when pressed; none until a style picks one
    QImage text_;   // transparent layer of printed text
};

} // namespace notivo
