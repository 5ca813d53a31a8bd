#include "platform/chrome/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {
namespace {
MessageSink g_sink = nullptr;
}

void setMessageSink(MessageSink sink) { g_sink = sink; }

void showMessage(QWidget* parent, const QString& text)
{
    if (g_sink) {
        g_sink(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace platform
