#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QMouseEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>

#include "notivo/editor/EditorWindows.h"
#include "notivo/editor/Scheduler.h"
#include "notivo/score/ScoreModel.h"
#include "notivo/editor/frmEditor.h"
#include "notivo/widgets/XPTitleButton.h"
#include "platform/chrome/FloatingSize.h"
#include "platform/chrome/MessageBox.h"
#include "platform/cursors/ClassCursors.h"
#include "platform/chrome/ProgramFolder.h"
#include "platform/raster/PictureBox.h"
#include "tests/notivo/editor/EditorProbe.h"
#include "tests/support/RecorderMidi.h"
#include "tests/support/TestSupport.h"

using notivo::EditorProbe;
using notivo::frmEditor;
using notivo::Score;
using platform::midi::RecorderMidiService;

namespace {

QStringList& shownMessages()
{
    static QStringList messages;
    return messages;
}
void recordMessage(const QString& text) { shownMessages() << text; }

// What the editor looked like while a message box was up.
struct WhileShown {
    const QImage* canvas = nullptr;
    bool markKept = false;
    bool hourglass = true;
};
WhileShown& whileShown()
{
    static WhileShown seen;
    return seen;
}
void observeMessage(const QString& text)
{
    recordMessage(text);
    WhileShown& seen = whileShown();
    seen.markKept = seen.canvas && seen.canvas->pixel(400, 10) == qRgb(1, 2, 3);
    seen.hourglass = QApplication::overrideCursor() != nullptr;
}

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shownMessages().clear();
        platform::setMessageSink(recordMessage);
    }
    void TearDown() override
    {
        editor.reset();
        platform::setMessageSink(nullptr);
        platform::setProgramFolderOverride(QString());
    }

    // Lets the waits started so far (the instrument preview) go by on the real clock.
    static void settle(frmEditor& e)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!EditorProbe(e).scheduler().idle() && std::chrono::steady_clock::now() < limit)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    // A window on its own score and the recorder that counts instead of
    // ending the program; its dialogs and windows are the functions below,
    // the real ones until a test replaces them.
    frmEditor& makeEditor()
    {
        notivo::EditorServices services;
        services.endProgram = [this] { ++endCount; };
        services.chooseSaveFile = [this](QWidget* parent, const QString& folder) { return chooseSaveFile(parent, folder); };
        services.chooseOpenFile = [this](QWidget* parent, const QString& folder) { return chooseOpenFile(parent, folder); };
        services.popupMenu = [this](QMenu* menu, const QPoint& at) { popupMenu(menu, at); };
        services.showPrintDialog = [this](QWidget* parent, Score& s) { showPrintDialog(parent, s); };
        services.showPrintPreview = [this](QWidget* parent, Score& s) { showPrintPreview(parent, s); };
        services.showAbout = [this](QWidget* parent) { showAbout(parent); };
        services.midi = &recorder;
        editor = std::make_unique<frmEditor>(score, std::move(services));
        return *editor;
    }
    frmEditor& loadedEditor()
    {
        frmEditor& e = makeEditor();
        EXPECT_TRUE(e.Form_Load());
        settle(e);
        recorder.clear();
        return e;
    }

    RecorderMidiService recorder{2};
    Score score;
    std::unique_ptr<frmEditor> editor;
    int endCount = 0;
    std::function<QString(QWidget*, const QString&)> chooseSaveFile = notivo::chooseScoreFileToSave;
    std::function<QString(QWidget*, const QString&)> chooseOpenFile = notivo::chooseScoreFileToOpen;
    std::function<void(QMenu*, const QPoint&)> popupMenu = notivo::popupMenuAt;
    std::function<void(QWidget*, Score&)> showPrintDialog = notivo::showPrintDialog;
    std::function<void(QWidget*, Score&)> showPrintPreview = notivo::showPrintPreview;
    std::function<void(QWidget*)> showAbout = notivo::showAboutBox;
};

TEST_F(EditorWindowTest, StartUpSelectsProgramZeroAndSoundsMiddleCForAQuarterSecond)
{
    frmEditor& e = makeEditor();
    ASSERT_TRUE(e.Form_Load());
    settle(e);

    const auto sent = recorder.messages();
    ASSERT_EQ(sent.size(), 5u);
    const std::vector<std::uint32_t> expected = {0x00B0, 0x20B0, 0x00C0, 0x7F3C90, 0x3C80};
    EXPECT_EQ(recorder.packedMessages(), expected);
    const auto held = std::chrono::duration_cast<std::chrono::milliseconds>(sent[4].time - sent[3].time);
    EXPECT_GE(held.count(), 250);
    EXPECT_LT(held.count(), 1500); // only a stalled wait is caught here

    EXPECT_EQ(e.windowTitle(), QStringLiteral("Cantorel"));
    EXPECT_TRUE(e.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(e.size(), QSize(538, 318));
    EXPECT_EQ(score.SelectedNoteId, 3);
    EXPECT_EQ(e.Combo1->count(), 175);
    EXPECT_EQ(e.Combo1->currentText(), QStringLiteral("0 Acoustic Grand Piano"));
    EXPECT_TRUE(e.Timer2->isActive());
    EXPECT_EQ(e.Timer2->interval(), 30);
    EXPECT_EQ(e.SelBox->width(), e.NoteContainerPbx->width() + 2);
    EXPECT_EQ(e.SelBox->image().pixel(0, 0), qRgb(0, 85, 255));
    EXPECT_TRUE(shownMessages().isEmpty());
    EXPECT_EQ(endCount, 0);
}

TEST_F(EditorWindowTest, StartUpDrawsTheEmptyStaffAndThePositionTicks)
{
    frmEditor& e = loadedEditor();
    const QImage& canvas = e.NoteContainerPbx->image();
    for (int y : {70, 80, 90, 100, 110})
        EXPECT_EQ(canvas.pixel(300, y), qRgb(0, 0, 0)) << y;
    EXPECT_EQ(canvas.pixel(300, 75), qRgb(255, 255, 255));

    const QImage& strip = e.Picture6->image();
    for (int i : {3, 17, 32}) {
        EXPECT_EQ(strip.pixel(16 * i + 3, 4), qRgb(160, 160, 160)) << i;
        EXPECT_EQ(strip.pixel(16 * i + 5, 4), qRgb(221, 221, 221)) << i;
    }
    EXPECT_NE(strip.pixel(16 * 2 + 3, 4), qRgb(160, 160, 160));
}

TEST_F(EditorWindowTest, ControlsSitWhereTheLayoutPutsThem)
{
    frmEditor& e = makeEditor();
    struct Place { QWidget* w; QRect r; };
    const std::vector<Place> places = {
        {e.Label5, {32, 8, 454, 23}},
        {e.MenusController[0], {7, 31, 26, 18}}, {e.MenusController[1], {35, 31, 30, 18}},
        {e.MenusController[2], {66, 31, 42, 18}}, {e.MenusController[3], {110, 31, 31, 18}},
        {e.Combo1, {5, 50, 147, 21}},
        {e.Command5, {154, 48, 25, 24}}, {e.Command1, {179, 48, 25, 24}}, {e.Command2, {206, 48, 24, 24}},
        {e.Label1, {255, 43, 29, 10}}, {e.HScroll2, {232, 54, 78, 16}},
        {e.Picture4, {5, 74, 172, 25}},
        {e.Option1[1], {0, 0, 25, 25}}, {e.Option1[2], {24, 0, 25, 25}}, {e.Option1[3], {49, 0, 25, 25}},
        {e.Option1[4], {72, 0, 25, 25}}, {e.Option1[5], {96, 0, 25, 25}}, {e.Option1[11], {123, 0, 25, 25}},
        {e.Option1[10], {147, 0, 25, 25}},
        {e.Check2[0], {180, 74, 25, 25}}, {e.Check2[1], {205, 74, 25, 25}}, {e.Check1, {232, 74, 26, 25}},
        {e.Check4, {259, 74, 26, 25}}, {e.Check5, {285, 74, 26, 25}},
        {e.Picture6, {4, 101, 530, 8}}, {e.Picture10, {5, 109, 528, 181}},
        {e.NoteContainerPbx, {1, 1, 523, 177}}, {e.HScroll1, {5, 291, 528, 13}},
    };
    for (const auto& p : places)
        EXPECT_EQ(p.w->geometry(), p.r) << p.w->objectName().toStdString();
    EXPECT_EQ(e.XPTitleButton3->geometry(), QRect(465, 4, 21, 21));
    EXPECT_EQ(e.XPTitleButton1->geometry(), QRect(487, 4, 21, 21));
    EXPECT_EQ(e.XPTitleButton2->geometry(), QRect(510, 4, 21, 21));
    EXPECT_EQ(e.HScroll1->minimum(), 0);
    EXPECT_EQ(e.HScroll1->maximum(), 450);
    EXPECT_EQ(e.HScroll2->value(), 110);
    EXPECT_EQ(e.Label5->text(), QStringLiteral("Tavro qLex Scrivel"));
}

TEST_F(EditorWindowTest, EveryResizeRebuildsTheRoundedShapeFromTheNewSize)
{
    frmEditor& e = loadedEditor();
    e.show(); // a hidden window keeps its resize for later
    struct Probe { int x, y; bool inside; };
    const auto check = [&](const std::vector<Probe>& probes) {
        const QRegion shape = e.mask();
        for (const auto& p : probes)
            EXPECT_EQ(shape.contains(QPoint(p.x, p.y)), p.inside) << p.x << "," << p.y;
    };
    check({{0, 100, false}, {1, 100, true}, {536, 100, true}, {537, 100, false}, {100, 316, true},
           {100, 317, false}, {1, 1, false}, {269, 1, true}, {560, 200, false}});
    platform::chrome::allowResize(&e); // as a resize by the title bar does
    e.resize(600, 400);
    check({{0, 100, false}, {1, 100, true}, {598, 100, true}, {599, 100, false}, {100, 398, true},
           {100, 399, false}, {560, 200, true}});
}

TEST_F(EditorWindowTest, MenuTreeHasItsCaptionsHiddenAndGreyedItems)
{
    frmEditor& e = makeEditor();
    const auto visibleCaptions = [](QMenu* menu) {
        QStringList captions;
        for (QAction* a : menu->actions())
            if (a->isVisible())
                captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return captions;
    };
    EXPECT_EQ(visibleCaptions(e.mnuFile),
              (QStringList{"&New", "&Open...", "-", "&Save as...", "-", "Print", "Print Preview", "-", "E&xit"}));
    EXPECT_EQ(visibleCaptions(e.mnuEdit),
              (QStringList{"C&ut", "&Copy", "&Paste", "Delete", "-", "Move Up", "Move Down"}));
    for (QAction* a : {e.mnuCutItm, e.mnuCopyItm, e.mnuPasteItm})
        EXPECT_FALSE(a->isEnabled());
    EXPECT_TRUE(e.mnuDeleteItm->isEnabled());
    EXPECT_FALSE(e.mnuSaveAsItm->isVisible());
    EXPECT_EQ(e.mnuSaveAsItm->text(), QStringLiteral("Save &As..."));
    EXPECT_FALSE(e.mnuRecentItm->menuAction()->isVisible());
    EXPECT_EQ(e.mnuRecentItm->actions().size(), 5);
    EXPECT_EQ(e.mnuDevice->title(), QStringLiteral("Midi Device"));
    EXPECT_EQ(visibleCaptions(e.MnuHelp), QStringList{"About"});
}

TEST_F(EditorWindowTest, AMenuBarButtonOpensItsMenuUnderItselfInThePressedLook)
{
    frmEditor& e = loadedEditor();
    const std::vector<QMenu*> menus = {e.mnuFile, e.mnuEdit, e.mnuDevice, e.MnuHelp};
    for (int index = 0; index < 4; ++index) {
        QMenu* shown = nullptr;
        QPoint where;
        std::vector<bool> flatWhileOpen;
        popupMenu = [&](QMenu* menu, const QPoint& pos) {
            shown = menu;
            where = pos;
            for (QPushButton* b : e.MenusController)
                flatWhileOpen.push_back(b->isFlat());
        };
        e.MenusController_MouseDown(index);
        EXPECT_EQ(shown, menus[index]);
        const QPushButton* button = e.MenusController[index];
        EXPECT_EQ(where, e.mapToGlobal(QPoint(button->x(), 49)));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(flatWhileOpen[i], i != index) << index << " " << i;
        for (QPushButton* b : e.MenusController)
            EXPECT_TRUE(b->isFlat());
    }
}

TEST_F(EditorWindowTest, DeviceMenuListsTheMapperAndEachDeviceWithOneCheckMark)
{
    recorder.setFailingDevices({1});
    frmEditor& e = loadedEditor();
    const auto checks = [&] {
        std::vector<bool> marks;
        for (QAction* a : e.Device)
            marks.push_back(a->isChecked());
        return marks;
    };
    ASSERT_EQ(e.Device.size(), 3u);
    EXPECT_EQ(e.Device[0]->text(), QStringLiteral("Recorder Mapper"));
    EXPECT_EQ(e.Device[1]->text(), QStringLiteral("Recorder 0"));
    EXPECT_EQ(e.Device[2]->text(), QStringLiteral("Recorder 1"));
    EXPECT_EQ(checks(), (std::vector<bool>{true, false, false}));

    // Device 1 refuses to open: the mapper stays open, checked and sounding.
    e.Device_Click(2);
    EXPECT_EQ(checks(), (std::vector<bool>{true, false, false}));
    ASSERT_EQ(shownMessages().size(), 1);
    EXPECT_TRUE(shownMessages()[0].contains(QStringLiteral("could not be opened")));
    EXPECT_TRUE(shownMessages()[0].contains(QStringLiteral("Recorder Mapper")));
    e.NoteOn(67, notivo::newNoteHolder());
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].device, -1);

    recorder.clear();
    e.Device_Click(1);
    EXPECT_EQ(checks(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(recorder.openCount(), 1);
    e.NoteOn(67, notivo::newNoteHolder());
    const auto sent = recorder.messages();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().packed, 0x7F3C90u);
    EXPECT_EQ(sent.back().device, 0);

    e.Device_Click(1); // the device in use: closed and opened again
    EXPECT_EQ(checks(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(recorder.openCount(), 1);
}

TEST_F(EditorWindowTest, ChoosingADrumEntryPreviewsTheDrumKey)
{
    frmEditor& e = loadedEditor();
    e.Combo1->setCurrentIndex(128);
    e.Combo1_Click(0);
    settle(e);
    EXPECT_EQ(recorder.packedMessages(), (std::vector<std::uint32_t>{0x7F2399, 0x2389}));
}

TEST_F(EditorWindowTest, WithoutAnyDeviceTheUserIsToldAndTheProgramEnds)
{
    recorder.setFailingDevices({-1, 0, 1});
    frmEditor& e = makeEditor();
    EXPECT_FALSE(e.Form_Load());
    ASSERT_EQ(shownMessages().size(), 1);
    EXPECT_EQ(shownMessages()[0],
              QStringLiteral("No Sound Recreation Device Availiable\r\nIf you are running this project from\r\n"
                             "IDE then you might have stopped this\r\nproject with out letting it to free\r\n"
                             "the device to run this project,\r\nyou must restart visual basic."));
    EXPECT_EQ(endCount, 1);
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(e.Combo1->count(), 0);
    EXPECT_FALSE(e.Timer2->isActive());
}

TEST_F(EditorWindowTest, NewClearsTheScoreAndLeavesViewTempoAndInstrument)
{
    frmEditor& e = loadedEditor();
    score.placeNote(21, 2, notivo::NoteId::Quarter, notivo::Accidental::Sharp);
    e.HScroll1->setValue(1);
    e.HScroll2->setValue(50);
    e.Combo1->setCurrentIndex(12);
    e.mnuNewItm->trigger();
    EXPECT_EQ(score.ColumnCount, 0);
    EXPECT_EQ(score.ScoreNotes.get(21, 2), 0);
    EXPECT_EQ(score.ScoreAccidentals.get(21, 2), notivo::Accidental::Sharp);
    EXPECT_EQ(e.HScroll1->value(), 1);
    EXPECT_EQ(e.HScroll2->value(), 50);
    EXPECT_EQ(e.Combo1->currentIndex(), 12);
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(EditorWindowTest, DeleteClearsTheSelectedColumnsOnlyWithASelection)
{
    frmEditor& e = loadedEditor();
    for (int c = 1; c <= 4; ++c)
        score.placeNote(20, c, notivo::NoteId::Half, 0);
    e.mnuDeleteItm->trigger();
    EXPECT_EQ(score.ScoreNotes.get(20, 2), notivo::NoteId::Half);

    score.SelectionStart = 2;
    score.SelectionEnd = 3;
    e.mnuDeleteItm->trigger();
    EXPECT_EQ(score.ScoreNotes.get(20, 1), notivo::NoteId::Half);
    EXPECT_EQ(score.ScoreNotes.get(20, 2), 0);
    EXPECT_EQ(score.ScoreNotes.get(20, 3), 0);
    EXPECT_EQ(score.ScoreNotes.get(20, 4), notivo::NoteId::Half);
    EXPECT_EQ(score.ColumnCount, 4);
}

TEST_F(EditorWindowTest, MoveUpAndDownShiftTheSelectionAndBandItWhereItIsShown)
{
    frmEditor& e = loadedEditor();
    score.placeNote(20, 3, notivo::NoteId::Quarter, 0);
    score.placeNote(20, 6, notivo::NoteId::Quarter, 0);

    // No selection: nothing moves and the canvas is not redrawn.
    QImage& canvas = e.NoteContainerPbx->image();
    canvas.setPixel(400, 10, qRgb(1, 2, 3));
    e.mnuMoveUpItm->trigger();
    EXPECT_EQ(canvas.pixel(400, 10), qRgb(1, 2, 3));
    EXPECT_EQ(score.ScoreNotes.get(20, 3), notivo::NoteId::Quarter);

    const QRgb white = qRgb(255, 255, 255);
    struct Case { const char* what; int scroll; bool up; int position; int bandLeft; };
    const std::vector<Case> cases = {
        {"up at the start of the score", 0, true, 19, 16 * 3 + 25},
        {"down again", 0, false, 20, 16 * 3 + 25},
        {"up in a view scrolled by one", 1, true, 19, 16 * 2 + 25},
    };
    score.SelectionStart = 3;
    score.SelectionEnd = 4;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        e.HScroll1->setValue(c.scroll);
        if (c.up)
            e.mnuMoveUpItm->trigger();
        else
            e.mnuMoveDownItm->trigger();
        EXPECT_EQ(score.ScoreNotes.get(c.position, 3), notivo::NoteId::Quarter);
        EXPECT_EQ(score.ScoreNotes.get(20, 6), notivo::NoteId::Quarter); // not selected
        // Half-transparent blue over the two selected columns, full height, nowhere else.
        const QColor inside = QColor::fromRgb(canvas.pixel(c.bandLeft + 1, 2));
        EXPECT_NEAR(inside.red(), 127, 2);
        EXPECT_NEAR(inside.green(), 170, 2);
        EXPECT_EQ(inside.blue(), 255);
        EXPECT_NE(canvas.pixel(c.bandLeft + 31, 170), white);
        EXPECT_EQ(canvas.pixel(c.bandLeft - 1, 2), white);
        EXPECT_EQ(canvas.pixel(c.bandLeft + 32, 2), white);
    }
}

TEST_F(EditorWindowTest, ClassCursorsComeFromTheProgramFolderAndGoAtTearDown)
{
    const QString sample =
        sourceDir() + QStringLiteral("/notivo/resources/files/RurUzezize/Orla's 3D Crystal Busy.ani");
    ASSERT_TRUE(QFile::exists(sample));
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("RurUzezize")));
    for (const char* name : {"RurUzezize Normal.ani", "RurUzezize Link.ani", "Orla's 3D Crystal Busy.ani"})
        ASSERT_TRUE(QFile::copy(sample, folder.filePath(QStringLiteral("RurUzezize/") + QString::fromLatin1(name))));
    platform::setProgramFolderOverride(folder.path());

    frmEditor& e = loadedEditor();
    using platform::cursors::classCursor;
    using platform::cursors::classOf;
    for (int i = 0; i <= 5; ++i)
        EXPECT_TRUE(EditorProbe(e).cursorTable()[i]) << i;
    EXPECT_TRUE(EditorProbe(e).busyCursor());
    // Controls of one kind share their class cursor.
    EXPECT_EQ(classCursor(classOf(e.Command2)), EditorProbe(e).cursorTable()[1]);
    EXPECT_EQ(classCursor(classOf(e.HScroll2)), EditorProbe(e).cursorTable()[2]);
    EXPECT_EQ(classCursor(classOf(e.Check4)), EditorProbe(e).cursorTable()[3]);
    EXPECT_EQ(classCursor(classOf(e.Option1[11])), EditorProbe(e).cursorTable()[4]);
    EXPECT_EQ(classCursor(classOf(e.Combo1)), EditorProbe(e).cursorTable()[5]);

    // The pointer over the bare form gives the canvas the normal cursor back.
    EditorProbe(e).setCanvasCursorState(0);
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 40), e.mapToGlobal(QPointF(300, 40)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&e, &move);
    EXPECT_EQ(classCursor(classOf(e.NoteContainerPbx)), EditorProbe(e).cursorTable()[0]);
    EXPECT_EQ(EditorProbe(e).canvasCursorState(), 1);

    e.Form_Unload();
    for (int i = 0; i <= 6; ++i)
        EXPECT_FALSE(EditorProbe(e).cursorTable()[i]) << i;
    EXPECT_FALSE(EditorProbe(e).busyCursor());
    EXPECT_EQ(recorder.openCount(), 0);
}

TEST_F(EditorWindowTest, PrintPreviewAndAboutOpenTheirWindows)
{
    frmEditor& e = loadedEditor();
    std::vector<std::string> opened;
    showPrintDialog = [&](QWidget* owner, Score&) {
        EXPECT_EQ(owner, &e);
        // The staff is redrawn before the dialog reads it.
        EXPECT_EQ(e.NoteContainerPbx->image().pixel(400, 10), qRgb(255, 255, 255));
        opened.push_back("print");
    };
    showPrintPreview = [&](QWidget*, Score&) { opened.push_back("preview"); };
    showAbout = [&](QWidget*) { opened.push_back("about"); };
    e.NoteContainerPbx->image().setPixel(400, 10, qRgb(1, 2, 3));
    e.mnuPrintItm->trigger();
    e.mnuPrintPreviewItm->trigger();
    e.mnuAboutItm->trigger();
    EXPECT_EQ(opened, (std::vector<std::string>{"print", "preview", "about"}));
}

TEST_F(EditorWindowTest, HelpGlyphTurnsRedAndBlackOnClicksOnly)
{
    frmEditor& e = loadedEditor();
    const auto hasRed = [&] {
        const QImage face = e.XPTitleButton3->faceImage();
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                if (QColor(face.pixel(x, y)) == QColor(255, 0, 0))
                    return true;
        return false;
    };
    EXPECT_EQ(EditorProbe(e).helpGlyphColor(), 0u);
    e.XPTitleButton3_MouseDown();
    e.XPTitleButton3_MouseUp();
    EXPECT_EQ(EditorProbe(e).helpGlyphColor(), 0u);
    EXPECT_FALSE(hasRed());
    e.XPTitleButton3_Click();
    EXPECT_EQ(EditorProbe(e).helpGlyphColor(), 255u);
    EXPECT_TRUE(hasRed());
    e.XPTitleButton3_Click();
    EXPECT_EQ(EditorProbe(e).helpGlyphColor(), 0u);
    EXPECT_FALSE(hasRed());
}

TEST_F(EditorWindowTest, CaptionButtonsToggleTheGlyphMinimiseAndExit)
{
    frmEditor& e = loadedEditor();
    e.show();
    const auto click = [](QWidget* w) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QMouseEvent event(type, QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(w, &event);
        }
    };
    click(e.XPTitleButton3);
    EXPECT_EQ(EditorProbe(e).helpGlyphColor(), 255u);
    click(e.XPTitleButton1);
    EXPECT_TRUE(e.windowState() & Qt::WindowMinimized);
    // Minimized, the 30 ms tick rests; restored, it ticks at once and runs on.
    EXPECT_FALSE(e.Timer2->isActive());
    const std::int32_t frame = EditorProbe(e).animFrame();
    const std::int32_t colour = EditorProbe(e).digitColour();
    e.showNormal();
    EXPECT_TRUE(e.Timer2->isActive());
    EXPECT_EQ(EditorProbe(e).animFrame(), (frame + 1) % 160);
    EXPECT_EQ(EditorProbe(e).digitColour(), (colour + 1) % 6);
    e.showMinimized();
    EXPECT_FALSE(e.Timer2->isActive());
    EXPECT_EQ(endCount, 0);
    EXPECT_EQ(recorder.openCount(), 1);
    click(e.XPTitleButton2);
    EXPECT_EQ(endCount, 1);
    EXPECT_EQ(recorder.openCount(), 0);
}

TEST_F(EditorWindowTest, ExitClosesTheDeviceStopsTheTimerAndEndsTheProgram)
{
    frmEditor& e = loadedEditor();
    e.show();
    e.mnuExitItm->trigger();
    EXPECT_EQ(endCount, 1);
    EXPECT_EQ(recorder.openCount(), 0);
    EXPECT_FALSE(e.Timer2->isActive());
    EXPECT_FALSE(e.isVisible());
    EXPECT_FALSE(EditorProbe(e).busyCursor());
}

TEST_F(EditorWindowTest, SaveAndOpenGoThroughTheDialogsWithTheBusyPointerRestored)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    platform::setProgramFolderOverride(folder.path());
    frmEditor& e = loadedEditor();
    const QString path = folder.filePath(QStringLiteral("song.txt"));
    QString offeredFolder;
    chooseSaveFile = [&](QWidget*, const QString& start) { offeredFolder = start; return path; };
    chooseOpenFile = [&](QWidget*, const QString&) { return path; };

    score.placeNote(12, 1, notivo::NoteId::Quarter, notivo::Accidental::Sharp);
    score.placeRest(3, notivo::NoteId::QuaverPause);
    e.mnuSaveItm->trigger();
    EXPECT_EQ(offeredFolder, folder.path());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_TRUE(QFile::exists(path));

    e.mnuNewItm->trigger();
    e.mnuOpenItm->trigger();
    EXPECT_TRUE(shownMessages().isEmpty());
    EXPECT_EQ(score.ScoreNotes.get(12, 1), notivo::NoteId::Quarter);
    EXPECT_EQ(score.ScoreAccidentals.get(12, 1), notivo::Accidental::Sharp);
    EXPECT_EQ(score.ScoreNotes.get(15, 3), notivo::NoteId::QuaverPause);
    EXPECT_EQ(score.ColumnCount, 3);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_NE(e.NoteContainerPbx->image().pixel(16 * 3 + 30, 90), qRgb(255, 255, 255));
}

// A file of another program opens by its content, can be undone like any
// Open, and Save as then proposes its name as a score, never the file itself.
TEST_F(EditorWindowTest, AMusicXmlFileOpensAsAScoreThatSaveAsNeverOverwrites)
{
    QTemporaryDir folder;
    const QString tune = folder.filePath(QStringLiteral("tune.xml"));
    testfiles::writeFile(tune, "<?xml version=\"1.0\"?><score-partwise version=\"3.1\"><part-list>"
                               "<score-part id=\"P1\"><part-name>A</part-name></score-part></part-list>"
                               "<part id=\"P1\"><measure number=\"1\"><attributes><divisions>1</divisions></attributes>"
                               "<note><pitch><step>C</step><octave>5</octave></pitch><duration>1</duration><type>quarter</type></note>"
                               "<note><pitch><step>F</step><alter>1</alter><octave>4</octave></pitch><duration>1</duration>"
                               "<type>quarter</type></note></measure></part></score-partwise>");
    const QString broken = folder.filePath(QStringLiteral("broken.mid"));
    testfiles::writeFile(broken, "MThd\0\0\0\6\0");

    frmEditor& e = loadedEditor();
    score.placeNote(12, 7, notivo::NoteId::Half, 0);
    QString offered;
    chooseSaveFile = [&](QWidget*, const QString& start) { offered = start; return QString(); };
    auto notesIn = [this](int column) {
        int notes = 0, sharps = 0;
        for (int position = 1; position <= 40; ++position) {
            notes += score.ScoreNotes.get(position, column) == notivo::NoteId::Quarter;
            sharps += score.ScoreAccidentals.get(position, column) == notivo::Accidental::Sharp;
        }
        return std::make_pair(notes, sharps);
    };

    chooseOpenFile = [&](QWidget*, const QString&) { return tune; };
    e.mnuOpenItm->trigger();
    EXPECT_TRUE(shownMessages().isEmpty()) << shownMessages().join('\n').toStdString();
    EXPECT_EQ(score.ColumnCount, 2);
    EXPECT_EQ(notesIn(1), std::make_pair(1, 0));
    EXPECT_EQ(notesIn(2), std::make_pair(1, 1));
    e.mnuSaveItm->trigger();
    EXPECT_EQ(offered, folder.filePath(QStringLiteral("tune.txt")));

    chooseOpenFile = [&](QWidget*, const QString&) { return broken; };
    e.mnuOpenItm->trigger();
    ASSERT_EQ(shownMessages().size(), 1);
    EXPECT_TRUE(shownMessages()[0].startsWith(QStringLiteral("broken.mid cannot be read"))) << shownMessages()[0].toStdString();
    EXPECT_EQ(score.ColumnCount, 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    e.EditUndo();
    e.EditUndo();
    EXPECT_EQ(score.ScoreNotes.get(12, 7), notivo::NoteId::Half);
}

TEST_F(EditorWindowTest, CancelledDialogsChangeNothing)
{
    frmEditor& e = loadedEditor();
    chooseSaveFile = [](QWidget*, const QString&) { return QString(); };
    chooseOpenFile = [](QWidget*, const QString&) { return QString(); };
    score.placeNote(12, 1, notivo::NoteId::Quarter, 0);
    e.mnuSaveItm->trigger();
    e.mnuOpenItm->trigger();
    EXPECT_EQ(score.ScoreNotes.get(12, 1), notivo::NoteId::Quarter);
    EXPECT_TRUE(shownMessages().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(EditorWindowTest, AnInvalidFileSaysSoAndKeepsWhatWasReadBeforeTheFault)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bad.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Tone01: 30\r\nTone02: 0 3\r\n");
    file.close();

    frmEditor& e = loadedEditor();
    chooseOpenFile = [&](QWidget*, const QString&) { return path; };
    e.mnuOpenItm->trigger();
    ASSERT_EQ(shownMessages(), QStringList{QStringLiteral("File not valid")});
    EXPECT_EQ(score.ScoreNotes.get(1, 1), 3);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    shownMessages().clear();
    chooseOpenFile = [&](QWidget*, const QString&) { return folder.filePath(QStringLiteral("missing.txt")); };
    e.mnuOpenItm->trigger();
    EXPECT_EQ(shownMessages(), QStringList{QStringLiteral("File not valid")});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(EditorWindowTest, FileNotValidComesBeforeTheRedrawAndWithoutTheHourglass)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bad.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Tone01: 30\r\nTone02: 0 3\r\n");
    file.close();

    frmEditor& e = loadedEditor();
    chooseOpenFile = [&](QWidget*, const QString&) { return path; };
    QImage& canvas = e.NoteContainerPbx->image();
    canvas.setPixel(400, 10, qRgb(1, 2, 3));
    whileShown() = WhileShown{&canvas};
    platform::setMessageSink(observeMessage);
    e.mnuOpenItm->trigger();
    ASSERT_EQ(shownMessages(), QStringList{QStringLiteral("File not valid")});
    EXPECT_TRUE(whileShown().markKept);   // the staff was not yet redrawn
    EXPECT_FALSE(whileShown().hourglass); // the box is answered with the normal pointer
    EXPECT_EQ(canvas.pixel(400, 10), qRgb(255, 255, 255)); // redrawn afterwards
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(EditorWindowTest, ScoreFileDialogsOfferMelvarFilesInTheGivenFolder)
{
    QTemporaryDir folder;
    for (bool save : {true, false}) {
        SCOPED_TRACE(save ? "save" : "open");
        bool found = false;
        bool saving = false;
        QString filterText;
        QString shownFolder;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                if (!dialog || !dialog->isVisible())
                    continue;
                found = true;
                saving = dialog->acceptMode() == QFileDialog::AcceptSave;
                shownFolder = dialog->directory().absolutePath();
                if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
                    filterText = combo->currentText();
                dialog->reject();
                return;
            }
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject(); // never leave the test waiting on a dialog
        });
        const QString chosen = save ? notivo::chooseScoreFileToSave(nullptr, folder.path())
                                    : notivo::chooseScoreFileToOpen(nullptr, folder.path());
        ASSERT_TRUE(found);
        EXPECT_TRUE(chosen.isEmpty()); // cancelled
        EXPECT_EQ(saving, save);
        EXPECT_EQ(shownFolder, QDir(folder.path()).absolutePath());
        EXPECT_EQ(filterText, QStringLiteral("Melvar files"));
    }
}

TEST_F(EditorWindowTest, ClosingTheWindowEndsTheProgramAsExitDoes)
{
    frmEditor& e = loadedEditor();
    e.show();
    EXPECT_TRUE(e.close());
    EXPECT_EQ(endCount, 1);
    EXPECT_EQ(recorder.openCount(), 0);
    EXPECT_FALSE(e.Timer2->isActive());
    EXPECT_FALSE(EditorProbe(e).busyCursor());
    EXPECT_TRUE(shownMessages().isEmpty());
}

TEST_F(EditorWindowTest, AFailedSaveExplainsWhyLeavesTheOldFileAndTheEditorUsable)
{
    QTemporaryDir folder;
    const QString blocked = folder.filePath(QStringLiteral("not-a-folder"));
    QFile blocker(blocked);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("old contents");
    blocker.close();

    frmEditor& e = loadedEditor();
    score.placeNote(12, 1, notivo::NoteId::Quarter, 0);
    // A path below a plain file can never be written, whoever runs the test.
    chooseSaveFile = [&](QWidget*, const QString&) { return blocked + QStringLiteral("/song.txt"); };
    e.mnuSaveItm->trigger();
    ASSERT_EQ(shownMessages().size(), 1);
    // Said once: the sentence, the path, then only the reason.
    const QStringList lines = shownMessages()[0].split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("The score could not be saved to"));
    EXPECT_EQ(lines[1], QDir::toNativeSeparators(blocked + QStringLiteral("/song.txt")));
    EXPECT_FALSE(lines[2].isEmpty());
    EXPECT_FALSE(lines[2].contains(QStringLiteral("could not be")));
    EXPECT_FALSE(lines[2].contains(QStringLiteral("song.txt")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_TRUE(blocker.open(QIODevice::ReadOnly));
    EXPECT_EQ(blocker.readAll(), QByteArray("old contents"));

    // Still usable: a save to a good place works afterwards.
    shownMessages().clear();
    const QString good = folder.filePath(QStringLiteral("song.txt"));
    chooseSaveFile = [&](QWidget*, const QString&) { return good; };
    e.mnuSaveItm->trigger();
    EXPECT_TRUE(shownMessages().isEmpty());
    EXPECT_TRUE(QFile::exists(good));
}

TEST_F(EditorWindowTest, DialogsStartInTheProgramFolderOrHomeWhenItCannotBeWritten)
{
    platform::setProgramFolderOverride(QStringLiteral("/nonexistent/program/folder"));
    frmEditor& e = loadedEditor();
    QString offered;
    chooseOpenFile = [&](QWidget*, const QString& start) { offered = start; return QString(); };
    e.mnuOpenItm->trigger();
    EXPECT_EQ(offered, QDir::homePath());
}

} // namespace
