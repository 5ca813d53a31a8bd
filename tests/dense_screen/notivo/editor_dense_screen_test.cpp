#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>
#include <chrono>
#include <vector>

#include "notivo/editor/Scheduler.h"
#include "notivo/editor/frmEditor.h"
#include "notivo/printing/PrintPreview.h"
#include "notivo/score/ScoreModel.h"
#include "notivo/widgets/DigitalDisplay.h"
#include "notivo/widgets/XPTitleButton.h"
#include "notivo/widgets/XPTitlebar.h"
#include "platform/chrome/MessageBox.h"
#include "platform/raster/CanvasScale.h"
#include "platform/raster/PictureBox.h"
#include "tests/notivo/editor/EditorProbe.h"
#include "tests/support/DoubledPixels.h"
#include "tests/support/RecorderMidi.h"

// The editor on a screen of more than one device pixel per pixel (this
// program runs with Qt's scale factor at 2 and at 1.5).
using notivo::frmEditor;
using notivo::Score;

namespace {

qreal screenRatio() { return qApp->devicePixelRatio(); }

// The lengths of the runs of black pixels down image column x.
std::vector<int> blackRuns(const QImage& image, int x)
{
    std::vector<int> runs;
    int run = 0;
    for (int y = 0; y <= image.height(); ++y) {
        if (y < image.height() && image.pixel(x, y) == qRgb(0, 0, 0)) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    return runs;
}

class DenseScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::setMessageSink([](const QString&) {});
        platform::midi::installMidiService(&recorder);
        score.ScoreNotes.set(15, 1, notivo::NoteId::Quarter);
        score.ScoreNotes.set(12, 2, notivo::NoteId::Semiquaver);
        score.ScoreAccidentals.set(12, 2, 1);
        notivo::EditorServices services;
        services.endProgram = [] {};
        services.midi = &recorder;
        editor = std::make_unique<frmEditor>(score, std::move(services));
        ASSERT_TRUE(editor->Form_Load());
        editor->show();
        // The instrument preview's wait goes by on the real clock.
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!notivo::EditorProbe(*editor).scheduler().idle() && std::chrono::steady_clock::now() < limit)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        editor->DisplayPentagramNotes(true);
    }
    void TearDown() override
    {
        editor.reset();
        platform::midi::installMidiService(nullptr);
        platform::setMessageSink(nullptr);
    }

    // `w`'s rectangle in the editor, in logical pixels.
    QRect placeOf(const QWidget* w) const { return QRect(w->mapTo(editor.get(), QPoint(0, 0)), w->size()); }

    platform::midi::RecorderMidiService recorder{2};
    Score score;
    std::unique_ptr<frmEditor> editor;
};

} // namespace

TEST_F(DenseScreen, CanvasesAndPicturesTakeTheScreensRatio)
{
    const qreal ratio = screenRatio();
    ASSERT_GT(ratio, 1.0);
    frmEditor& e = *editor;
    for (platform::PictureBox* box : {e.NoteContainerPbx, e.Picture11, e.Picture12, e.Picture6, e.SelBox}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_DOUBLE_EQ(box->image().devicePixelRatio(), ratio);
        EXPECT_EQ(box->scaleWidth(), box->width());
    }
    EXPECT_EQ(e.Picture12->image(), notivo::digitSheet(ratio));
    for (notivo::XPTitleButton* button : {e.XPTitleButton1, e.XPTitleButton2, e.XPTitleButton3})
        EXPECT_DOUBLE_EQ(button->faceImage().devicePixelRatio(), ratio);

    // Palette and Step pictures: as many pixels as the screen shows.
    std::vector<QAbstractButton*> pictured = {e.Check2[0], e.Check2[1], e.Check1, e.Check4, e.Check5,
                                              e.Option3[0], e.Option3[1], e.Command2};
    for (int id : {1, 2, 3, 4, 5, 10, 11})
        pictured.push_back(e.Option1[std::size_t(id)]);
    for (QAbstractButton* button : pictured) {
        SCOPED_TRACE(button->objectName().toStdString());
        const QPixmap shown = button->icon().pixmap(QSize(21, 21), ratio);
        EXPECT_DOUBLE_EQ(shown.devicePixelRatio(), ratio);
        EXPECT_EQ(shown.size(), platform::raster::deviceSize({21, 21}, ratio));
    }
}

TEST_F(DenseScreen, AtTwiceTheDensityNoPictureIsShownDoubled)
{
    if (screenRatio() != 2.0)
        GTEST_SKIP() << "a check of ratio 2";
    frmEditor& e = *editor;
    const QImage shot = e.grab().toImage();
    ASSERT_EQ(shot.size(), e.size() * 2);
    const QRect canvas = placeOf(e.NoteContainerPbx);
    const struct {
        const char* what;
        QRect area;
    } areas[] = {
        {"clef", QRect(canvas.topLeft() + QPoint(5, 50), QSize(32, 85))},
        {"quarter", QRect(canvas.topLeft() + QPoint(41, 70), QSize(14, 25))},
        {"sharp semiquaver", QRect(canvas.topLeft() + QPoint(55, 53), QSize(20, 27))},
        {"palette quarter", placeOf(e.Option1[3])},
        {"close button", placeOf(e.XPTitleButton2)},
        {"minimise button", placeOf(e.XPTitleButton1)},
        {"title bar's left cap", QRect(placeOf(e.XPTitlebar1).topLeft(), QSize(20, 29))},
        {"elapsed time", placeOf(e.Picture11)},
        {"step button", placeOf(e.Command2)},
    };
    for (const auto& a : areas)
        EXPECT_TRUE(finerThanDoubled(shot, a.area)) << a.what;
}

TEST_F(DenseScreen, StaffLinesOfTheViewAndThePreviewAreEquallyThick)
{
    const int thick = std::max(1, int(std::lrint(screenRatio())));
    // Near its right edge the canvas crosses nothing but the five lines.
    const QImage view = editor->NoteContainerPbx->grab().toImage();
    EXPECT_EQ(blackRuns(view, view.width() - 3), std::vector<int>(5, thick));

    notivo::PrintPreview preview(nullptr, score);
    preview.show();
    for (const char* zoom : {"50", "75", "100", "125"}) {
        SCOPED_TRACE(zoom);
        preview.Combo1->setEditText(QString::fromLatin1(zoom));
        const QImage page = preview.Picture1->grab().toImage();
        EXPECT_EQ(blackRuns(page, page.width() - 3), std::vector<int>(5, thick));
    }
}
