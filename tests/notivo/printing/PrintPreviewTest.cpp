#include "notivo/score/ScoreModel.h"
#include "notivo/printing/PrintPreview.h"
#include "platform/raster/PictureBox.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QLineEdit>
#include <gtest/gtest.h>

using notivo::PreviewPage;
using notivo::PrintPreview;
using notivo::Score;

namespace {

QImage expectedPage(const Score& score, double zoom)
{
    QImage page = PreviewPage::blankPage();
    PreviewPage().DisplayPentagramNotes(page, score, 0, zoom);
    return page;
}

// Key presses as the user types them into the zoom box.
void type(QComboBox* combo, const char* text)
{
    for (const char* c = text; *c; ++c) {
        const QString key = QString(QLatin1Char(*c));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (*c - '0'), Qt::NoModifier, key);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_0 + (*c - '0'), Qt::NoModifier, key);
        QCoreApplication::sendEvent(combo->lineEdit(), &press);
        QCoreApplication::sendEvent(combo->lineEdit(), &release);
    }
}

} // namespace

TEST(PrintPreviewWindow, OpensModelessAtHalfZoomWithItsControls)
{
    Score score;
    score.placeNote(15, 1, notivo::NoteId::Quarter, notivo::Accidental::None);
    auto* preview = new PrintPreview(nullptr, score);
    preview->show();
    EXPECT_EQ(preview->windowTitle(), "Print Preview");
    EXPECT_FALSE(preview->isModal());
    EXPECT_EQ(preview->Combo1->currentText(), "50%");
    QStringList list;
    for (int i = 0; i < preview->Combo1->count(); ++i)
        list.append(preview->Combo1->itemText(i));
    EXPECT_EQ(list, QStringList({"50", "75", "100", "125", "150", "175", "200"}));
    EXPECT_EQ(preview->Picture10->geometry(), QRect(1, 22, 565, 530));
    EXPECT_EQ(preview->Picture10->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_EQ(preview->Picture1->geometry(), QRect(19, 1, 522, 522));
    EXPECT_DOUBLE_EQ(preview->zoom(), 0.5);
    EXPECT_EQ(preview->Picture1->image(), expectedPage(score, 0.5));

    QPointer<PrintPreview> guard(preview);
    preview->close(); // the window goes with its closing
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
}

TEST(PrintPreviewWindow, ZoomFollowsTheEditedTextAndTheChosenItem)
{
    Score score;
    score.placeNote(20, 2, notivo::NoteId::Half, notivo::Accidental::Sharp);
    PrintPreview preview(nullptr, score);
    preview.setAttribute(Qt::WA_DeleteOnClose, false);
    preview.show();
    QApplication::setActiveWindow(&preview);
    preview.Combo1->setFocus();

    preview.Combo1->setEditText(QStringLiteral("100%"));
    EXPECT_DOUBLE_EQ(preview.zoom(), 1.0);
    EXPECT_EQ(preview.Picture1->image(), expectedPage(score, 1.0));

    // The score is read again at every zoom change.
    score.placeNote(10, 3, notivo::NoteId::Whole, notivo::Accidental::Flat);
    preview.Combo1->setCurrentIndex(6);
    emit preview.Combo1->activated(6);
    EXPECT_DOUBLE_EQ(preview.zoom(), 2.0);
    EXPECT_EQ(preview.Picture1->image(), expectedPage(score, 2.0));

    // Typed by the user: "1" is 1 %, not a completion to "100" or "125".
    preview.Combo1->clearEditText();
    ASSERT_TRUE(preview.Combo1->lineEdit()->hasFocus());
    type(preview.Combo1, "1");
    EXPECT_EQ(preview.Combo1->currentText(), "1");
    EXPECT_DOUBLE_EQ(preview.zoom(), 0.01);
    preview.Combo1->clearEditText();
    type(preview.Combo1, "75");
    EXPECT_DOUBLE_EQ(preview.zoom(), 0.75);
    EXPECT_EQ(preview.Picture1->image(), expectedPage(score, 0.75));

    preview.Combo1->setEditText(QStringLiteral("zoom"));
    EXPECT_DOUBLE_EQ(preview.zoom(), 0.0);
    const QImage& page = preview.Picture1->image();
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); x += 7)
            ASSERT_EQ(page.pixel(x, y), y == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
}
