#include "notivo/printing/PrintPreview.h"

#include "platform/raster/PictureBox.h"

#include <QComboBox>
#include <QPalette>

namespace notivo {

PrintPreview::PrintPreview(QWidget* parent, const Score& score)
    : QWidget(parent, Qt::Window)
    , score_(score)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Print Preview"));
    setFixedSize(567, 553);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // Typed text is the zoom as typed: completing "1" to "100" would zoom to
    // what the user did not ask for.
    Combo1->setCompleter(nullptr);
    Combo1->addItems({QStringLiteral("50"), QStringLiteral("75"), QStringLiteral("100"), QStringLiteral("125"),
                      QStringLiteral("150"), QStringLiteral("175"), QStringLiteral("200")});
    Combo1->setEditText(QStringLiteral("50%"));
    Combo1->setGeometry(1, 0, 81, 21);

    Picture10 = new QWidget(this);
    Picture10->setObjectName(QStringLiteral("Picture10"));
    Picture10->setAutoFillBackground(true);
    QPalette grey = Picture10->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    Picture10->setPalette(grey);
    Picture10->setGeometry(1, 22, 565, 530);

    Picture1 = new platform::PictureBox(Picture10);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(19, 1, PreviewPage::PageSize, PreviewPage::PageSize);
    Picture1->setBackColor(Qt::white);

    // Connected after the initial text, so that only the load draws first.
    connect(Combo1, &QComboBox::editTextChanged, this, &PrintPreview::Combo1_Change);
    connect(Combo1, &QComboBox::activated, this, &PrintPreview::Combo1_Click);

    DisplayPentagramNotes(true, 0, 0.5);
}

PrintPreview* PrintPreview::showFor(QWidget* owner, const Score& score)
{
    // A closed preview deletes itself, so a child found here is open.
    auto* preview = owner ? owner->findChild<PrintPreview*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (preview && &preview->score_ == &score) {
        preview->DisplayPentagramNotes(true, 0, preview->zoom_);
        preview->showNormal();
        preview->raise();
        preview->activateWindow();
        return preview;
    }
    preview = new PrintPreview(owner, score);
    preview->show();
    return preview;
}

void PrintPreview::DisplayPentagramNotes(bool RefreshBox, long OffcetX, double Zoom)
{
    zoom_ = Zoom;
    QImage& page = Picture1->image();
    // The page's pictures are the ones drawn for the screen it is shown on.
    PreviewPage(page.devicePixelRatio()).DisplayPentagramNotes(page, score_, OffcetX, Zoom);
    if (RefreshBox)
        Picture1->refresh();
}

void PrintPreview::Combo1_Change(const QString& text)
{
    DisplayPentagramNotes(true, 0, zoomFromText(text));
}

void PrintPreview::Combo1_Click(int index)
{
    if (index < 0)
        return;
    DisplayPentagramNotes(true, 0, zoomFromText(Combo1->itemText(index)));
}

} // namespace notivo
