#pragma once
#include "notivo/printing/PrinterCatalog.h"

#include <QDialog>
#include <array>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace notivo {

class Score;

// The print dialog: chooses the program's printer and its orientation and
// prints the score.  Copies, colour mode, margins and staff size are shown
// with their defaults and do not change the print.  Shown modally by its opener.
class frmPrint : public QDialog {
    Q_OBJECT
public:
    frmPrint(QWidget* parent, const Score& score);
    // Offers `printers` instead of those of the system (tests).
    frmPrint(QWidget* parent, const Score& score, QList<PrinterEntry> printers);

    // Asks where the PDF file printer writes; an empty name cancels the job.
    // Replaceable so that the job can run without a file dialog.
    std::function<QString(QWidget* parent)> askPdfFileName;

    QLabel* Label3;
    QComboBox* Combo1;
    QLabel* Label1;
    QLineEdit* Text1;
    QGroupBox* Frame4;
    QGroupBox* Frame3;
    std::array<QRadioButton*, 4> Option2{}; // 3 Portrait, 2 Landscape, 1 Color, 0 Greyscale
    QGroupBox* Frame2;
    std::array<QLabel*, 2> Label2{};
    QLineEdit* Text2;
    QLineEdit* Text3;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 4> Option1{}; // 3 Actual, 2 Normal, 1 Elegant, 0 Tiny
    QPushButton* Command1;
    QPushButton* Command2;

private:
    void buildControls();
    void Form_Load();
    void Combo1_Click(int index);
    void Option2_Click(int index);
    void Command1_Click();
    void Command2_Click();

    const Score& score_;
    QList<PrinterEntry> printers_;
};

// The file dialog of the PDF file printer; adds ".pdf" when the name has no suffix.
QString askPdfFileNameWithDialog(QWidget* parent);

} // namespace notivo
