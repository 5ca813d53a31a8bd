#include "platform/chrome/FloatingSize.h"

#include <QWidget>

namespace platform::chrome {

namespace {

// The limits the window had before it was fixed at its size.
class EarlierLimits : public QObject {
    Q_OBJECT
public:
    EarlierLimits(QWidget* window) : QObject(window), minimum(window->minimumSize()), maximum(window->maximumSize()) {}
    const QSize minimum, maximum;
};

} // namespace

void floatAtOwnSize(QWidget* window)
{
    if (!window->findChild<EarlierLimits*>(QString(), Qt::FindDirectChildrenOnly))
        new EarlierLimits(window);
    window->setFixedSize(window->size());
}

void allowResize(QWidget* window)
{
    auto* limits = window->findChild<EarlierLimits*>(QString(), Qt::FindDirectChildrenOnly);
    if (!limits)
        return;
    window->setMinimumSize(limits->minimum);
    window->setMaximumSize(limits->maximum);
    delete limits;
}

} // namespace platform::chrome

#include "FloatingSize.moc"
