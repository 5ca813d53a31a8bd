#include "notivo/widgets/frmAbout.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "notivo/widgets/WidgetArt.h"
#include "notivo/widgets/WidgetFonts.h"

namespace notivo {

// The product picture, reporting presses in its own pixels.
class AboutPicture : public QWidget {
public:
    explicit AboutPicture(frmAbout* about) : QWidget(about), about_(about)
    {
        setFixedSize(64, 60);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, widgetPicture(QStringLiteral("about_product"), devicePixelRatio()));
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        const QPointF pos = event->position();
        about_->Picture1_MouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
    }

private:
    frmAbout* about_;
};

namespace {
constexpr int BoxWidth = 340, BoxHeight = 92;           // as first shown
constexpr int RevealedWidth = 140, RevealedHeight = 215; // with the hidden picture
constexpr QRect HiddenPictureRect(0, 7, 138, 199);
} // namespace

frmAbout::frmAbout(QWidget* parent, std::chrono::milliseconds closeDelay) : QDialog(parent)
{
    setWindowTitle(tr("About Tavro qLex Scrivel"));
    setFixedSize(BoxWidth, BoxHeight);

    Picture1 = new AboutPicture(this);
    Picture1->move(12, 14);

    Label1 = new QLabel(QStringLiteral("Tavro qLex Scrivel"), this);
    Label1->setFont(substituteFont(QStringLiteral("Arial"), 14, true));
    Label1->setGeometry(88, 14, 240, 26);

    Label2 = new QLabel(tr("Copyright \u00A9 2005. All rights reserved."), this);
    Label2->setFont(substituteFont(QStringLiteral("MS Sans Serif"), 8));
    Label2->setGeometry(88, 48, 240, 16);

    Label4 = new QLabel(this);
    Label4->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Label4->setGeometry(88, 42, 240, 2);

    Picture2 = new QLabel(this);
    Picture2->setPixmap(QPixmap::fromImage(widgetPicture(QStringLiteral("about_hidden"), devicePixelRatio())));
    Picture2->hide();

    Timer1.setSingleShot(true);
    Timer1.setTimerType(Qt::PreciseTimer); // five seconds, not "about" five
    Timer1.setInterval(closeDelay);
    connect(&Timer1, &QTimer::timeout, this, &frmAbout::Timer1_Timer);
}

void frmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The delay counts from the moment the box is first seen.
    if (!Timer1.isActive())
        Timer1.start();
}

void frmAbout::Timer1_Timer()
{
    accept();
}

void frmAbout::Picture1_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, double X, double Y)
{
    if (X == RevealPoint.x() && Y == RevealPoint.y())
        ShowHiddenPicture();
}

void frmAbout::ShowHiddenPicture()
{
    Picture2->setGeometry(HiddenPictureRect);
    setFixedSize(RevealedWidth, RevealedHeight);
    Picture2->show();
    Picture2->raise();
}

} // namespace notivo
