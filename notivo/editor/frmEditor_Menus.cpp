#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

#include "notivo/editor/frmEditor.h"
#include "notivo/staff/StaffGeometry.h"
#include "platform/cursors/ClassCursors.h"
#include "platform/raster/PictureBox.h"
#include "platform/raster/Raster.h"

// The drawn menu bar, the menu tree behind it and the File, Edit and Help commands.
namespace notivo {
namespace {
constexpr int BandAlpha = 128;

QAction* addItem(QMenu* menu, const QString& caption, const QString& name)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}
} // namespace

void frmEditor::createMenus()
{
    mnuFile = new QMenu(QStringLiteral("&File"), this);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuNewItm = addItem(mnuFile, QStringLiteral("&New"), QStringLiteral("mnuNewItm"));
    mnuOpenItm = addItem(mnuFile, QStringLiteral("&Open..."), QStringLiteral("mnuOpenItm"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuhyphen1"));
    mnuSaveItm = addItem(mnuFile, QStringLiteral("&Save as..."), QStringLiteral("mnuSaveItm"));
    mnuSaveAsItm = addItem(mnuFile, QStringLiteral("Save &As..."), QStringLiteral("mnuSaveAsItm"));
    mnuSaveAsItm->setVisible(false);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuhyphen2"));
    mnuRecentItm = mnuFile->addMenu(QStringLiteral("&Recent"));
    mnuRecentItm->setObjectName(QStringLiteral("mnuRecentItm"));
    for (int i = 1; i <= 5; ++i)
        addItem(mnuRecentItm, QStringLiteral("%1.").arg(i), QStringLiteral("mnuRecent%1Itm").arg(i));
    mnuRecentItm->menuAction()->setVisible(false);
    mnuPrintItm = addItem(mnuFile, QStringLiteral("Print"), QStringLiteral("mnuPrintItm"));
    mnuPrintPreviewItm = addItem(mnuFile, QStringLiteral("Print Preview"), QStringLiteral("mnuPrintPreviewItm"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuhyphen4"));
    mnuExitItm = addItem(mnuFile, QStringLiteral("E&xit"), QStringLiteral("mnuExitItm"));

    mnuEdit = new QMenu(QStringLiteral("Edit"), this);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuCutItm = addItem(mnuEdit, QStringLiteral("C&ut"), QStringLiteral("mnuCutItm"));
    mnuCopyItm = addItem(mnuEdit, QStringLiteral("&Copy"), QStringLiteral("mnuCopyItm"));
    mnuPasteItm = addItem(mnuEdit, QStringLiteral("&Paste"), QStringLiteral("mnuPasteItm"));
    for (QAction* a : {mnuCutItm, mnuCopyItm, mnuPasteItm})
        a->setEnabled(false);
    mnuDeleteItm = addItem(mnuEdit, QStringLiteral("Delete"), QStringLiteral("mnuDeleteItm"));
    mnuEdit->addSeparator()->setObjectName(QStringLiteral("mnuhyphen5"));
    mnuMoveUpItm = addItem(mnuEdit, QStringLiteral("Move Up"), QStringLiteral("mnuMoveUpItm"));
    mnuMoveDownItm = addItem(mnuEdit, QStringLiteral("Move Down"), QStringLiteral("mnuMoveDownItm"));

    mnuDevice = new QMenu(QStringLiteral("Midi Device"), this);
    mnuDevice->setObjectName(QStringLiteral("mnuDevice"));
    QAction* mapper = addItem(mnuDevice, QStringLiteral("Midi Mapper"), QStringLiteral("Device_0"));
    mapper->setCheckable(true);
    connect(mapper, &QAction::triggered, this, [this] { Device_Click(0); });
    Device.push_back(mapper);

    MnuHelp = new QMenu(QStringLiteral("Help"), this);
    MnuHelp->setObjectName(QStringLiteral("MnuHelp"));
    mnuAboutItm = addItem(MnuHelp, QStringLiteral("About"), QStringLiteral("mnuAboutItm"));

    connect(mnuNewItm, &QAction::triggered, this, [this] { mnuNewItm_Click(); });
    connect(mnuOpenItm, &QAction::triggered, this, [this] { mnuOpenItm_Click(); });
    connect(mnuSaveItm, &QAction::triggered, this, [this] { mnuSaveItm_Click(); });
    connect(mnuPrintItm, &QAction::triggered, this, [this] { mnuPrintItm_Click(); });
    connect(mnuPrintPreviewItm, &QAction::triggered, this, [this] { mnuPrintPreviewItm_Click(); });
    connect(mnuExitItm, &QAction::triggered, this, [this] { mnuExitItm_Click(); });
    connect(mnuDeleteItm, &QAction::triggered, this, [this] { mnuDeleteItm_Click(); });
    connect(mnuMoveUpItm, &QAction::triggered, this, [this] { mnuMoveUpItm_Click(); });
    connect(mnuMoveDownItm, &QAction::triggered, this, [this] { mnuMoveDownItm_Click(); });
    connect(mnuAboutItm, &QAction::triggered, this, [this] { mnuAboutItm_Click(); });
}

// Idle: a flat button; the button whose menu is open stands out raised.
void frmEditor::setMenuButtonLook(int index, bool pressed) { MenusController[index]->setFlat(!pressed); }

void frmEditor::MenusController_MouseDown(int Index)
{
    if (Index < 0 || Index > 3)
        return;
    for (int i = 0; i < 4; ++i)
        if (i != Index)
            setMenuButtonLook(i, false);
    setMenuButtonLook(Index, true);
    const std::array<QMenu*, 4> menus = {mnuFile, mnuEdit, mnuDevice, MnuHelp};
    const QPushButton* button = MenusController[Index];
    services_.popupMenu(menus[Index], mapToGlobal(QPoint(button->x(), button->y() + button->height())));
    // The release that closed the menu went to the menu, not to the bar:
    // leave no button looking pressed once its menu is gone.
    for (int i = 0; i < 4; ++i)
        setMenuButtonLook(i, false);
}

void frmEditor::MenusController_MouseUp(int)
{
    for (int i = 0; i < 4; ++i)
        setMenuButtonLook(i, false);
}

void frmEditor::mnuNewItm_Click()
{
    const ScoreChange change(History, score, ScoreChange::Join::Separate);
    score.clearScore();
    DisplayPentagramNotes(true);
}

void frmEditor::mnuPrintItm_Click()
{
    DisplayPentagramNotes(true);
    services_.showPrintDialog(this, score);
}

void frmEditor::mnuPrintPreviewItm_Click() { services_.showPrintPreview(this, score); }

void frmEditor::mnuAboutItm_Click() { services_.showAbout(this); }

void frmEditor::mnuExitItm_Click()
{
    // A run or a preview may be waiting: silence it before the device goes.
    ShutdownPlayback();
    Midi.close();
    platform::cursors::setClassCursorOf(NoteContainerPbx, CanvasCursor);
    QCoreApplication::processEvents();
    Form_Unload();
    QCoreApplication::processEvents();
    services_.endProgram();
}

void frmEditor::mnuDeleteItm_Click()
{
    const ScoreChange change(History, score, ScoreChange::Join::Separate);
    if (score.deleteSelection())
        DisplayPentagramNotes(true);
}

void frmEditor::mnuMoveUpItm_Click()
{
    const ScoreChange change(History, score, ScoreChange::Join::Separate);
    if (score.moveSelectionUp())
        showMovedSelection();
}

void frmEditor::mnuMoveDownItm_Click()
{
    const ScoreChange change(History, score, ScoreChange::Join::Separate);
    if (score.moveSelectionDown())
        showMovedSelection();
}

void frmEditor::showMovedSelection()
{
    DisplayPentagramNotes(false);
    HighlightSelection();
    NoteContainerPbx->refresh();
}

void frmEditor::HighlightSelection()
{
    // The band covers the selected columns where the view shows them now, cut to the canvas.
    const int scroll = HScroll1->value();
    const int left = staff::columnBandEdge(score.SelectionStart - scroll);
    const int right = left + staff::ColumnPitch * (score.SelectionEnd + 1 - score.SelectionStart);
    QImage& canvas = NoteContainerPbx->image();
    const int x0 = std::max(left, 0);
    const int x1 = std::min(right, NoteContainerPbx->scaleWidth());
    const int height = NoteContainerPbx->scaleHeight();
    if (x1 <= x0 || height <= 0)
        return;
    platform::raster::alphaBlendRect(canvas, x0, 0, x1 - x0, height, SelBox->image(), 0, 0, x1 - x0, height,
                                     BandAlpha);
}

} // namespace notivo
