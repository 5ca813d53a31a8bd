#include <QApplication>

#include "keyrig/frmPiano.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("keyrig"));
    frmPiano window;
    window.show();
    window.activateWindow();
    return app.exec();
}
