#include "PdfPages.h"

#include "notivo/score/ScoreModel.h"
#include "notivo/printing/CurrentPrinter.h"
#include "notivo/printing/frmPrint.h"
#include "platform/chrome/MessageBox.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using notivo::CurrentPrinter;
using notivo::frmPrint;
using notivo::PrinterEntry;
using notivo::Score;

namespace {

QStringList messages;
void recordMessage(const QString& text) { messages.append(text); }

// The program-wide printer outlives each test; every test starts from the
// PDF file printer in portrait.
class FrmPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        CurrentPrinter::shared().choose(notivo::pdfFilePrinter());
        CurrentPrinter::shared().setOrientation(CurrentPrinter::Portrait);
        messages.clear();
        platform::setMessageSink(recordMessage);
    }
    void TearDown() override { platform::setMessageSink(nullptr); }

    const QList<PrinterEntry> twoPrinters{{QStringLiteral("Office"), QStringLiteral("Laser 4000"), false},
                                          {QStringLiteral("Studio"), QStringLiteral("Inkjet 12"), false},
                                          notivo::pdfFilePrinter()};
    Score score;
};

QStringList items(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}

} // namespace

TEST_F(FrmPrint, ShowsEveryControlWithItsCaptionAndInitialValue)
{
    frmPrint dialog(nullptr, score, twoPrinters);
    EXPECT_EQ(dialog.windowTitle(), "Print (Active Notes)");
    const struct {
        QString shown, expected;
    } captions[] = {
        {dialog.Label3->text(), "Device:"},
        {dialog.Label1->text(), "Copies:"},
        {dialog.Text1->text(), "1"},
        {dialog.Frame4->title(), "Orientation"},
        {dialog.Option2[3]->text(), "Portrait"},
        {dialog.Option2[2]->text(), "Landscape"},
        {dialog.Frame3->title(), "Color Mode"},
        {dialog.Option2[1]->text(), "Color"},
        {dialog.Option2[0]->text(), "Greyscale"},
        {dialog.Frame2->title(), "Margines"},
        {dialog.Label2[0]->text(), "Top:"},
        {dialog.Text2->text(), "150"},
        {dialog.Label2[1]->text(), "Left:"},
        {dialog.Text3->text(), "150"},
        {dialog.Frame1->title(), "Pentagram size"},
        {dialog.Option1[3]->text(), "Actual (300%)"},
        {dialog.Option1[2]->text(), "Normal (200%)"},
        {dialog.Option1[1]->text(), "Elegant"},
        {dialog.Option1[0]->text(), "Tiny (50%)"},
        {dialog.Command1->text(), "Print"},
        {dialog.Command2->text(), "Cancel"},
    };
    for (const auto& c : captions)
        EXPECT_EQ(c.shown, c.expected);

    const bool checked[] = {dialog.Option2[3]->isChecked(), dialog.Option2[2]->isChecked(),
                            dialog.Option2[1]->isChecked(), dialog.Option2[0]->isChecked(),
                            dialog.Option1[3]->isChecked(), dialog.Option1[2]->isChecked(),
                            dialog.Option1[1]->isChecked(), dialog.Option1[0]->isChecked()};
    const bool expected[] = {true, false, false, true, false, false, true, false};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(checked[i], expected[i]) << "option " << i;

    // Orientation and colour mode are separate choices although one array.
    EXPECT_EQ(dialog.Option2[3]->parentWidget(), dialog.Frame4);
    EXPECT_EQ(dialog.Option2[0]->parentWidget(), dialog.Frame3);
    dialog.Option2[2]->click();
    EXPECT_TRUE(dialog.Option2[0]->isChecked());
}

TEST_F(FrmPrint, ListsThePrintersThenThePdfFilePrinterAndChoosesTheFirst)
{
    frmPrint dialog(nullptr, score, twoPrinters);
    EXPECT_EQ(items(dialog.Combo1), QStringList({"Office Laser 4000", "Studio Inkjet 12", "PDF file"}));
    EXPECT_EQ(dialog.Combo1->currentIndex(), 0);
    EXPECT_EQ(CurrentPrinter::shared().entry().deviceName, "Office");

    dialog.Combo1->setCurrentIndex(1);
    EXPECT_EQ(CurrentPrinter::shared().entry().deviceName, "Studio");
    dialog.Combo1->setCurrentIndex(2);
    EXPECT_TRUE(CurrentPrinter::shared().entry().pdfFile);
}

TEST_F(FrmPrint, WithTheSystemsPrintersThePdfFilePrinterIsLast)
{
    frmPrint dialog(nullptr, score);
    ASSERT_GE(dialog.Combo1->count(), 1);
    EXPECT_EQ(dialog.Combo1->itemText(dialog.Combo1->count() - 1), "PDF file");
    EXPECT_EQ(dialog.Combo1->currentIndex(), 0);
    // Every item is two texts joined by one blank.
    for (const QString& item : items(dialog.Combo1))
        EXPECT_TRUE(item.contains(QLatin1Char(' '))) << qPrintable(item);
}

TEST_F(FrmPrint, OrientationIsReadFromAndWrittenToTheCurrentPrinter)
{
    // The chosen printer's orientation shows when the dialog opens.
    CurrentPrinter::shared().setOrientation(CurrentPrinter::Landscape);
    {
        frmPrint dialog(nullptr, score, {notivo::pdfFilePrinter()});
        EXPECT_TRUE(dialog.Option2[2]->isChecked());
        EXPECT_FALSE(dialog.Option2[3]->isChecked());

        dialog.Option2[3]->click();
        EXPECT_EQ(CurrentPrinter::shared().orientation(), CurrentPrinter::Portrait);
        dialog.Option2[2]->click();
        EXPECT_EQ(CurrentPrinter::shared().orientation(), CurrentPrinter::Landscape);
        EXPECT_EQ(CurrentPrinter::shared().printer().pageLayout().orientation(), QPageLayout::Landscape);
        // Colour mode changes nothing of the printer.
        dialog.Option2[1]->click();
        EXPECT_EQ(CurrentPrinter::shared().orientation(), CurrentPrinter::Landscape);
    }
    // The printer stays chosen, with its orientation, after the dialog is gone.
    frmPrint again(nullptr, score, {notivo::pdfFilePrinter()});
    EXPECT_TRUE(again.Option2[2]->isChecked());
}

TEST_F(FrmPrint, CancelClosesTheDialog)
{
    frmPrint dialog(nullptr, score, twoPrinters);
    dialog.show();
    ASSERT_TRUE(dialog.isVisible());
    dialog.Command2->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(FrmPrint, PrintOnThePdfFilePrinterWritesTheScoreEachTime)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int c = 1; c <= 120; ++c)
        score.placeNote(5 + c % 20, c, notivo::NoteId::Quarter, notivo::Accidental::None);

    frmPrint dialog(nullptr, score, {notivo::pdfFilePrinter()});
    int asked = 0;
    dialog.askPdfFileName = [&](QWidget*) { return dir.filePath(QStringLiteral("job%1.pdf").arg(++asked)); };
    // Margins, copies and staff size do not change what is printed.
    dialog.Text1->setText(QStringLiteral("3"));
    dialog.Text2->setText(QStringLiteral("900"));
    dialog.Option1[3]->click();

    dialog.Command1->click();
    dialog.Command1->click(); // two presses, two jobs
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(messages.isEmpty());
    for (const char* name : {"job1.pdf", "job2.pdf"}) {
        SCOPED_TRACE(name);
        const QString pdf = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(QFileInfo::exists(pdf));
        EXPECT_EQ(pdfpages::pageCount(pdf), 1);
    }
    QFile first(dir.filePath(QStringLiteral("job1.pdf"))), second(dir.filePath(QStringLiteral("job2.pdf")));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.size(), second.size());
}

TEST_F(FrmPrint, CancellingTheFileNameSendsNoJobAndAFailedJobIsReported)
{
    frmPrint dialog(nullptr, score, {notivo::pdfFilePrinter()});
    dialog.askPdfFileName = [](QWidget*) { return QString(); };
    dialog.Command1->click();
    EXPECT_TRUE(messages.isEmpty());

    dialog.askPdfFileName = [](QWidget*) { return QStringLiteral("/nonexistent-folder/score.pdf"); };
    dialog.Command1->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "The score could not be printed on PDF file.");
}

TEST(PdfFileName, GetsThePdfSuffixOnlyWhenItHasNone)
{
    const struct {
        const char *chosen, *used;
    } cases[] = {
        {"", ""},
        {"/home/me/score", "/home/me/score.pdf"},
        {"/home/me/score.pdf", "/home/me/score.pdf"},
        {"/home/me/score.PDF", "/home/me/score.PDF"},
        {"/home/me/v1.2/score", "/home/me/v1.2/score.pdf"},
        {"/home/me/score.txt", "/home/me/score.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(notivo::pdfFileName(QString::fromLatin1(c.chosen)), QString::fromLatin1(c.used)) << c.chosen;
}
