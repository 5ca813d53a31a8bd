#pragma once
#include <QProxyStyle>

namespace notivo {

// The transport buttons carry the characters of a symbol font as captions:
// "4" the play triangle, ";" the pause bars, "<" the stop square.  Without
// that font on the system this style draws the symbols themselves in place
// of the characters; the captions stay what they are, as the play state
// is read from them.
class TransportFaceStyle : public QProxyStyle {
public:
    enum class Symbol { None, Play, Pause, Stop };
    static Symbol symbolOf(const QString& caption);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

} // namespace notivo
