#pragma once
#include <QPoint>
#include <QString>

class QMenu;
class QWidget;

namespace notivo {

class Score;

// The dialogs and windows the editor's menus open, behind plain functions so
// that the editor can be driven without them in tests.

// File dialogs for score files ("Melvar files", *.txt) starting in `folder`;
// the chosen path, or empty when cancelled.  Saving also offers the export
// types (MIDI, audio, MusicXML); the path's extension tells which was chosen;
// given a file instead of a folder, it starts there with that name typed.
// Opening also offers the files of other programs notivo reads.
QString chooseScoreFileToSave(QWidget* parent, const QString& where);
QString chooseScoreFileToOpen(QWidget* parent, const QString& folder);

// Shows `menu` as a pop-up at `globalPos`; returns when it has closed.
void popupMenuAt(QMenu* menu, const QPoint& globalPos);

void showPrintDialog(QWidget* parent, Score& score);  // modal
void showPrintPreview(QWidget* parent, Score& score); // modeless, one per editor
void showAboutBox(QWidget* parent);                   // modal

} // namespace notivo
