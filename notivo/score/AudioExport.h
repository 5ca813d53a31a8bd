#pragma once
#include <QString>

#include <memory>

#include "notivo/score/ScoreExport.h"

class QTemporaryFile;

namespace platform::midi { class OfflineRender; }

namespace notivo {

// The score rendered offline through the built-in synthesiser into an audio
// file (44.1 kHz stereo, with the release tail), a slice at a time so that a
// window can show progress and offer to cancel.  The audio goes to a
// temporary file first; finish() puts it in place whole, and cancelling or
// dropping the export leaves no file and the old one untouched.
class AudioExport {
public:
    // `format` is Wav, Flac or Ogg.  An empty `soundFont` searches the usual places.
    AudioExport(const Score& score, const QString& path, FileFormat format, const ExportSettings& settings,
                const QString& soundFont = {});
    ~AudioExport();
    AudioExport(const AudioExport&) = delete;
    AudioExport& operator=(const AudioExport&) = delete;

    // False when the render could not start; finish() then says why.
    bool ok() const;
    // Renders the next slice; false once the render is done or failed.
    bool step();
    double progress() const;
    // Seconds of audio rendered so far.
    double renderedSeconds() const;
    // After the last step: the file in place, or why not.
    ExportResult finish();

    // Whether the installed synthesiser library can write this format.
    static bool canWrite(FileFormat format);

private:
    QString path_;
    QString error_;
    std::unique_ptr<QTemporaryFile> temporary_;
    std::unique_ptr<platform::midi::OfflineRender> render_;
};

} // namespace notivo
