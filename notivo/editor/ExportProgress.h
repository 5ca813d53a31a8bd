#pragma once
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <memory>

#include "notivo/score/ScoreExport.h"

class QProgressBar;

namespace notivo {

class AudioExport;

// Runs an audio render on the window thread a slice at a time, so the
// window keeps drawing and answering.  When the render takes longer than
// half a second a progress bar with Cancel comes up (modal to the editor);
// cancelling drops the render and leaves no file.  `done` runs once at the
// end with the result (not after a cancel or when the owner goes first).
class ExportProgress : public QDialog {
    Q_OBJECT
public:
    ExportProgress(QWidget* owner, std::unique_ptr<AudioExport> render, const QString& fileName,
                   std::function<void(const ExportResult&)> done);
    ~ExportProgress() override;

    static constexpr int ShowAfterMs = 500;

    void cancel();

protected:
    void reject() override; // Escape and the window's close button cancel too

private:
    void nextSlice();

    std::unique_ptr<AudioExport> render_;
    std::function<void(const ExportResult&)> done_;
    QProgressBar* bar_ = nullptr;
    QElapsedTimer started_;
    QTimer slices_;
};

} // namespace notivo
