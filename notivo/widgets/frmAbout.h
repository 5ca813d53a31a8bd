#pragma once
#include <QDialog>
#include <QTimer>
#include <chrono>

class QLabel;

namespace notivo {


// The About box: product picture, name and notice.  It closes itself a few
// seconds after it is shown, and a press on one exact point of the product
// picture reveals a hidden picture over the whole box.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds DefaultCloseDelay{5000};
    static constexpr QPointF RevealPoint{41, 27};

    explicit frmAbout(QWidget* parent = nullptr, std::chrono::milliseconds closeDelay = DefaultCloseDelay);

    QWidget* Picture1 = nullptr;      // the product picture, 64 x 60
    QLabel* Picture2 = nullptr;       // the hidden picture
    QLabel* Label1 = nullptr;         // product name
    QLabel* Label2 = nullptr;         // notice
    QLabel* Label4 = nullptr;         // the rule under the notice
    QTimer Timer1;

    void Timer1_Timer();
    void Picture1_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void ShowHiddenPicture();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace notivo
