#include "notivo/printing/frmPrint.h"

#include "notivo/printing/CurrentPrinter.h"
#include "notivo/printing/ScorePrinter.h"
#include "platform/chrome/BusyPointer.h"
#include "platform/chrome/MessageBox.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

namespace notivo {
namespace {
// A captioned control at its place in the dialog.
template <typename Widget>
Widget* placed(const QString& text, QWidget* parent, QRect geometry)
{
    auto* widget = new Widget(text, parent);
    widget->setGeometry(geometry);
    return widget;
}
} // namespace

QString askPdfFileNameWithDialog(QWidget* parent)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return pdfFileName(QFileDialog::getSaveFileName(parent, QStringLiteral("Print to PDF file"),
                                                    folder + QStringLiteral("/score.pdf"),
                                                    QStringLiteral("PDF files (*.pdf)")));
}

frmPrint::frmPrint(QWidget* parent, const Score& score)
    : frmPrint(parent, score, availablePrinterEntries())
{
}

frmPrint::frmPrint(QWidget* parent, const Score& score, QList<PrinterEntry> printers)
    : QDialog(parent)
    , askPdfFileName(askPdfFileNameWithDialog)
    , score_(score)
    , printers_(std::move(printers))
{
    buildControls();
    Form_Load();
}

void frmPrint::buildControls()
{
    setWindowTitle(QStringLiteral("Print (Active Notes)"));
    setModal(true);
    setFixedSize(336, 296);

    const auto label = &placed<QLabel>;
    const auto field = &placed<QLineEdit>;
    const auto frame = &placed<QGroupBox>;
    const auto option = &placed<QRadioButton>;

    Label3 = label(QStringLiteral("Device:"), this, {8, 10, 52, 21});
    Combo1 = new QComboBox(this);
    Combo1->setGeometry(64, 10, 264, 23);
    Label1 = label(QStringLiteral("Copies:"), this, {8, 40, 52, 21});
    Text1 = field(QStringLiteral("1"), this, {64, 40, 48, 21});

    // Option2 is one array over two frames: each frame keeps its own choice.
    Frame4 = frame(QStringLiteral("Orientation"), this, {8, 70, 156, 72});
    Option2[3] = option(QStringLiteral("Portrait"), Frame4, {10, 20, 140, 21});
    Option2[2] = option(QStringLiteral("Landscape"), Frame4, {10, 44, 140, 21});
    Frame3 = frame(QStringLiteral("Color Mode"), this, {172, 70, 156, 72});
    Option2[1] = option(QStringLiteral("Color"), Frame3, {10, 20, 140, 21});
    Option2[0] = option(QStringLiteral("Greyscale"), Frame3, {10, 44, 140, 21});
    Option2[3]->setChecked(true);
    Option2[0]->setChecked(true);

    Frame2 = frame(QStringLiteral("Margines"), this, {8, 150, 156, 104});
    Label2[0] = label(QStringLiteral("Top:"), Frame2, {10, 24, 40, 21});
    Text2 = field(QStringLiteral("150"), Frame2, {54, 24, 60, 21});
    Label2[1] = label(QStringLiteral("Left:"), Frame2, {10, 54, 40, 21});
    Text3 = field(QStringLiteral("150"), Frame2, {54, 54, 60, 21});

    Frame1 = frame(QStringLiteral("Pentagram size"), this, {172, 150, 156, 104});
    Option1[3] = option(QStringLiteral("Actual (300%)"), Frame1, {10, 18, 140, 20});
    Option1[2] = option(QStringLiteral("Normal (200%)"), Frame1, {10, 38, 140, 20});
    Option1[1] = option(QStringLiteral("Elegant"), Frame1, {10, 58, 140, 20});
    Option1[0] = option(QStringLiteral("Tiny (50%)"), Frame1, {10, 78, 140, 20});
    Option1[1]->setChecked(true);

    Command1 = new QPushButton(QStringLiteral("Print"), this);
    Command1->setGeometry(156, 264, 84, 25);
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setGeometry(244, 264, 84, 25);

    for (int i = 0; i < 4; ++i)
        connect(Option2[i], &QRadioButton::clicked, this, [this, i] { Option2_Click(i); });
    connect(Command1, &QPushButton::clicked, this, &frmPrint::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmPrint::Command2_Click);
}

void frmPrint::Form_Load()
{
    for (const PrinterEntry& printer : printers_)
        Combo1->addItem(printer.itemText());
    connect(Combo1, &QComboBox::currentIndexChanged, this, &frmPrint::Combo1_Click);
    if (Combo1->count() > 0) {
        // Adding the first item already made it current; choose it explicitly.
        Combo1->setCurrentIndex(0);
        Combo1_Click(0);
    }
}

void frmPrint::Combo1_Click(int index)
{
    if (index < 0 || index >= printers_.size())
        return;
    CurrentPrinter& current = CurrentPrinter::shared();
    current.choose(printers_[index]);
    const int orientation = current.orientation();
    if (orientation == CurrentPrinter::Portrait)
        Option2[3]->setChecked(true);
    else if (orientation == CurrentPrinter::Landscape)
        Option2[2]->setChecked(true);
}

void frmPrint::Option2_Click(int index)
{
    if (index == 3)
        CurrentPrinter::shared().setOrientation(CurrentPrinter::Portrait);
    else if (index == 2)
        CurrentPrinter::shared().setOrientation(CurrentPrinter::Landscape);
}

void frmPrint::Command1_Click()
{
    if (Combo1->currentIndex() < 0)
        return;
    CurrentPrinter& current = CurrentPrinter::shared();
    QPrinter& printer = current.printer();
    if (current.entry().pdfFile) {
        const QString fileName = askPdfFileName ? askPdfFileName(this) : QString();
        if (fileName.isEmpty())
            return;
        printer.setOutputFileName(fileName);
    }
    bool printed = false;
    {
        platform::BusyPointer busy;
        printed = printScore(printer, score_);
    }
    if (!printed)
        platform::showMessage(this, QStringLiteral("The score could not be printed on %1.").arg(current.entry().itemText()));
}

void frmPrint::Command2_Click() { reject(); }

} // namespace notivo
