#include <QApplication>

#include "notivo/editor/frmEditor.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("notivo"));
    notivo::frmEditor editor;
    // Without a MIDI device the start-up has told the user and the program ends.
    if (!editor.Form_Load())
        return 1;
    editor.show();
    return app.exec();
}
