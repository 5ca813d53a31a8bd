#include <QFont>
#include <QLabel>

#include "notivo/editor/frmEditor.h"
#include "notivo/widgets/XPTitleButton.h"
#include "notivo/widgets/XPTitlebar.h"

// The drawn title bar: the bar itself, the title label and the three caption
// buttons with the "?" glyph.
namespace notivo {
namespace {
constexpr std::uint32_t GlyphGrey = 0x808080;
constexpr std::uint32_t GlyphWhite = 0xFFFFFF;
constexpr std::uint32_t GlyphRed = 255; // 0x00BBGGRR
const QString GlyphFont = QStringLiteral("MS Sans Serif");
constexpr int GlyphSize = 12;
} // namespace

void frmEditor::createTitleBar()
{
    XPTitlebar1 = new XPTitlebar(this);
    XPTitlebar1->setObjectName(QStringLiteral("XPTitlebar1"));

    Label5 = new QLabel(QStringLiteral("Tavro qLex Scrivel"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(8.25);
    titleFont.setBold(true);
    Label5->setFont(titleFont);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label5->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Label5->installEventFilter(this);

    XPTitleButton1 = new XPTitleButton(this);
    XPTitleButton1->setObjectName(QStringLiteral("XPTitleButton1"));
    XPTitleButton1->setStyle(2);
    XPTitleButton2 = new XPTitleButton(this);
    XPTitleButton2->setObjectName(QStringLiteral("XPTitleButton2"));
    XPTitleButton2->setStyle(0);
    XPTitleButton3 = new XPTitleButton(this);
    XPTitleButton3->setObjectName(QStringLiteral("XPTitleButton3"));
    connect(XPTitleButton3, &XPTitleButton::DrawPic, this, [this] { XPTitleButton3_DrawPic(); });
    connect(XPTitleButton3, &XPTitleButton::MouseDown, this, [this] { XPTitleButton3_MouseDown(); });
    connect(XPTitleButton3, &XPTitleButton::MouseUp, this, [this] { XPTitleButton3_MouseUp(); });
    connect(XPTitleButton3, &XPTitleButton::Click, this, [this] { XPTitleButton3_Click(); });
    XPTitleButton3->setStyle(3);

    connect(XPTitleButton1, &XPTitleButton::Click, this, [this] { showMinimized(); });
    connect(XPTitleButton2, &XPTitleButton::Click, this, [this] { mnuExitItm_Click(); });

    placeTitleBar();
}

// The bar spans the window; the caption buttons keep their distance from its right end.
void frmEditor::placeTitleBar()
{
    if (!XPTitlebar1)
        return;
    const int w = width();
    XPTitlebar1->setGeometry(0, 0, w, XPTitlebar::BarHeight);
    Label5->setGeometry(32, 8, std::max(0, w - 84), 23);
    XPTitleButton3->move(w - 73, 4);
    XPTitleButton1->move(w - 51, 4);
    XPTitleButton2->move(w - 28, 4);
    Label5->raise();
    XPTitleButton3->raise();
    XPTitleButton1->raise();
    XPTitleButton2->raise();
}

void frmEditor::drawHelpGlyph(int dx, int dy)
{
    // The text stays until Cls, so each look starts from the bare face.
    XPTitleButton3->Cls();
    const QString mark = QStringLiteral("?");
    XPTitleButton3->DrawText(mark, 4 + dx, -1 + dy, GlyphFont, GlyphSize, GlyphGrey, true);
    XPTitleButton3->DrawText(mark, 6 + dx, 1 + dy, GlyphFont, GlyphSize, GlyphWhite, true);
    XPTitleButton3->DrawText(mark, 5 + dx, 0 + dy, GlyphFont, GlyphSize, HelpGlyphColor, true);
    XPTitleButton3->Refresh();
}

void frmEditor::XPTitleButton3_DrawPic() { drawHelpGlyph(0, 0); }

void frmEditor::XPTitleButton3_MouseDown() { drawHelpGlyph(1, 1); }

void frmEditor::XPTitleButton3_MouseUp() { drawHelpGlyph(0, 0); }

void frmEditor::XPTitleButton3_Click()
{
    HelpGlyphColor = HelpGlyphColor > 0 ? 0 : GlyphRed;
    // Show the new colour at once rather than at the next repaint.
    drawHelpGlyph(0, 0);
}

} // namespace notivo
