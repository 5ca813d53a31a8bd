#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>

class QWidget;

namespace notivo {

class BalloonWindow;

// Attaches one tip window to one control and shows a bold title with an
// icon above a multi-line text for it, optionally as a balloon.  Properties
// are stored when written; Create builds the tip window from them.  On an
// existing window, Title and Icon take effect together only when the title is
// not empty and the icon is not 0; the colours and the text at once.
class Tooltip : public QObject {
    Q_OBJECT
public:
    static constexpr int BalloonStyle = 1;
    enum Icons { NoIcon = 0, InfoIcon = 1, WarningIcon = 2, ErrorIcon = 3 };

    explicit Tooltip(QObject* parent = nullptr);
    ~Tooltip() override;

    int Style() const { return style_; }
    void setStyle(int style) { style_ = style; }               // 1 balloon, else rectangle
    bool Centered() const { return centered_; }
    void setCentered(bool centered) { centered_ = centered; }  // under the control, not at the pointer
    // Replaces any tip window by a new one for ParentControl (none when it is null).
    void Create();
    QWidget* ParentControl() const { return parentControl_; }
    void setParentControl(QWidget* control) { parentControl_ = control; }
    int Icon() const { return icon_; }
    void setIcon(int icon);
    std::uint32_t ForeColor() const { return foreColor_; }     // 0x00BBGGRR; 0 = system default
    void setForeColor(std::uint32_t color);
    QString Title() const { return title_; }
    void setTitle(const QString& title);
    std::uint32_t BackColor() const { return backColor_; }     // 0x00BBGGRR; 0 = system default
    void setBackColor(std::uint32_t color);
    QString TipText() const { return tipText_; }
    void setTipText(const QString& text);

    // The tip window, null while none exists.
    BalloonWindow* tipWindow() const { return window_; }

private:
    void destroyWindow();
    void sendTitle();

    int style_ = 0;
    bool centered_ = false;
    QPointer<QWidget> parentControl_;
    int icon_ = 0;
    std::uint32_t foreColor_ = 0;
    QString title_;
    std::uint32_t backColor_ = 0;
    QString tipText_;
    QPointer<BalloonWindow> window_;
};

} // namespace notivo
