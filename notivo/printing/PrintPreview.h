#pragma once
#include "notivo/printing/PreviewPage.h"

#include <QWidget>

class QComboBox;

namespace platform { class PictureBox; }

namespace notivo {

class Score;

// The print preview: the beginning of the score on a page at a zoom the user
// picks.  Modeless; it reads the score only when it redraws (at opening and
// at every zoom change).  It deletes itself when closed.
class PrintPreview : public QWidget {
    Q_OBJECT
public:
    PrintPreview(QWidget* parent, const Score& score);

    // The one preview of `owner`: opened when there is none, otherwise
    // brought to the front and redrawn from the score at its zoom.
    static PrintPreview* showFor(QWidget* owner, const Score& score);

    // Redraws the page from the score as it is now; repaints it at once with RefreshBox.
    void DisplayPentagramNotes(bool RefreshBox = true, long OffcetX = 0, double Zoom = 0.5);

    double zoom() const { return zoom_; }

    QWidget* Picture10;             // grey surround of the page
    platform::PictureBox* Picture1; // the page
    QComboBox* Combo1;              // zoom in percent

private:
    void Combo1_Change(const QString& text);
    void Combo1_Click(int index);

    const Score& score_;
    double zoom_ = 0.5;
};

} // namespace notivo
