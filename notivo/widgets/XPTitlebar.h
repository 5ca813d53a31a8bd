#pragma once
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>

namespace notivo {

class TitlebarPart;

// The drawn title bar of a borderless window: a left end cap, a stretched
// middle and a right end cap, always 29 pixels high.  Dragging the middle or
// a cap moves the window; when Sizeable, the top strip resizes it from the
// top edge and the corner bands of the caps from the top corners, each with
// its resize cursor.
class XPTitlebar : public QWidget {
    Q_OBJECT
public:
    static constexpr int BarHeight = 29;
    static constexpr int MinimumParentWidth = 32; // the parent is never narrower while shown

    // The pieces of the bar, named after what they are.
    enum class Part {
        None,
        Middle,          // the stretched middle picture: moves the window
        LeftCap,         // the caps outside their corner bands: move the window
        RightCap,
        TopStrip,        // the top 7 rows between the caps: top edge
        LeftCornerTop,   // band along the top of the left cap: top-left corner
        LeftCornerSide,  // band along the left side of the left cap: top-left corner
        RightCornerTop,  // band along the top of the right cap: top-right corner
        RightCornerSide, // band along the right side of the right cap: top-right corner
    };
    enum class WindowAction { Move, ResizeTop, ResizeTopLeft, ResizeTopRight };

    explicit XPTitlebar(QWidget* parent = nullptr);

    bool Sizeable() const { return sizeable_; }
    void setSizeable(bool sizeable);
    // A style number kept for the host; it changes nothing visible.
    int Style() const { return style_; }
    void setStyle(int style) { style_ = style; }

    // Sets the cursors of the resize areas: resize arrows or the normal arrow.
    void Pointers(bool SizeableOnes);

    // The piece under a point of the bar (bar coordinates).
    Part partAt(const QPoint& pos) const;

    // How a press moves or resizes the window; by default the window system's
    // move and resize.  Tests put a recorder here.
    std::function<void(QWidget* window, WindowAction action, const QPoint& globalPos)> startWindowAction;

signals:
    void Resize();   // raised first thing whenever the bar is resized
    void DblClick(); // a double-click on the middle or on a corner band

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TitlebarPart;
    void partPressed(Part part, const QPoint& globalPos);
    void partDoubleClicked(Part part);
    void keepParentWideEnough();
    void placeCaps(); // the caps stay docked at the two ends

    bool sizeable_ = true;
    int style_ = 0;
    TitlebarPart* middle_ = nullptr;
    TitlebarPart* strip_ = nullptr;
    TitlebarPart* leftCap_ = nullptr;
    TitlebarPart* rightCap_ = nullptr;
    TitlebarPart* corners_[4] = {}; // LeftCornerTop, RightCornerTop, RightCornerSide, LeftCornerSide
};

} // namespace notivo
