#include "notivo/editor/ExportProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

#include "notivo/score/AudioExport.h"

namespace notivo {

ExportProgress::ExportProgress(QWidget* owner, std::unique_ptr<AudioExport> render, const QString& fileName,
                               std::function<void(const ExportResult&)> done)
    : QDialog(owner), render_(std::move(render)), done_(std::move(done))
{
    setObjectName(QStringLiteral("ExportProgress"));
    setWindowTitle(fileName);
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Rendering the score to \"%1\"...").arg(fileName), this));
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 1000);
    layout->addWidget(bar_);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("Cancel"));
    layout->addWidget(cancelButton, 0, Qt::AlignRight);
    connect(cancelButton, &QPushButton::clicked, this, &ExportProgress::cancel);

    // Each slice returns to the event loop before the next one starts.
    slices_.setSingleShot(true);
    slices_.setInterval(0);
    connect(&slices_, &QTimer::timeout, this, &ExportProgress::nextSlice);
    started_.start();
    slices_.start();
}

ExportProgress::~ExportProgress() = default;

void ExportProgress::nextSlice()
{
    if (!render_)
        return;
    const bool more = render_->step();
    bar_->setValue(int(std::lround(render_->progress() * 1000)));
    if (more) {
        if (!isVisible() && started_.elapsed() >= ShowAfterMs)
            show();
        slices_.start();
        return;
    }
    const ExportResult result = render_->finish();
    render_.reset();
    hide();
    auto done = std::move(done_);
    deleteLater();
    if (done)
        done(result);
}

void ExportProgress::cancel()
{
    slices_.stop();
    render_.reset(); // the temporary audio goes with it; the target was never touched
    hide();
    deleteLater();
}

void ExportProgress::reject() { cancel(); }

} // namespace notivo
