#pragma once
#include <QString>

class QWidget;

namespace platform {

// The one way both programs report an error: a modal box with an OK button
// and the application's title.  Returns when the user dismisses it.
void showMessage(QWidget* parent, const QString& text);

// Tests replace the modal box by a recorder of the texts; nullptr restores it.
using MessageSink = void (*)(const QString& text);
void setMessageSink(MessageSink sink);

} // namespace platform
