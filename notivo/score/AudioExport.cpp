#include "notivo/score/AudioExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>

#include "notivo/score/MidiExport.h"
#include "platform/files/AtomicFile.h"
#include "platform/midi/OfflineRender.h"

namespace notivo {
namespace {
// Audio rendered per step: a few hundredths of a second of work, so a
// window stays responsive between steps.
constexpr std::int64_t SliceMicroseconds = 2'000'000;

const char* fileTypeOf(FileFormat format)
{
    switch (format) {
    case FileFormat::Wav: return "wav";
    case FileFormat::Flac: return "flac";
    case FileFormat::Ogg: return "oga";
    default: return nullptr;
    }
}
} // namespace

bool AudioExport::canWrite(FileFormat format)
{
    const char* type = fileTypeOf(format);
    if (!type)
        return false;
    const std::vector<std::string> types = platform::midi::writableAudioFileTypes();
    return std::find(types.begin(), types.end(), type) != types.end();
}

AudioExport::AudioExport(const Score& score, const QString& path, FileFormat format, const ExportSettings& settings,
                         const QString& soundFont)
    : path_(path)
{
    const char* type = fileTypeOf(format);
    if (!type || !canWrite(format)) {
        error_ = QStringLiteral("this synthesiser library cannot write %1 files").arg(QFileInfo(path).suffix());
        return;
    }
    temporary_ = std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("notivo-render-XXXXXX")));
    if (!temporary_->open()) {
        error_ = QStringLiteral("no room for the rendered audio: %1").arg(temporary_->errorString());
        return;
    }
    TimedPerformance performance = performedMessages(score, settings);
    platform::midi::OfflineRender::Settings renderSettings;
    renderSettings.soundFont = soundFont.toStdString();
    renderSettings.fileType = type;
    render_ = std::make_unique<platform::midi::OfflineRender>(std::move(performance.messages),
                                                               performance.endMicroseconds,
                                                               temporary_->fileName().toStdString(), renderSettings);
    if (!render_->ok())
        error_ = QString::fromStdString(render_->error());
}

AudioExport::~AudioExport() = default;

bool AudioExport::ok() const { return error_.isEmpty(); }

bool AudioExport::step()
{
    if (!ok())
        return false;
    const bool more = render_->renderSome(SliceMicroseconds);
    if (!render_->ok())
        error_ = QString::fromStdString(render_->error());
    return more && ok();
}

double AudioExport::progress() const { return render_ ? render_->progress() : 0.0; }

double AudioExport::renderedSeconds() const { return render_ ? render_->renderedMicroseconds() / 1e6 : 0.0; }

ExportResult AudioExport::finish()
{
    if (ok() && !render_->finished())
        error_ = QStringLiteral("the render did not come to its end");
    if (!ok())
        return {false, error_};
    render_->close();
    QFile rendered(temporary_->fileName());
    if (!rendered.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("the rendered audio cannot be read back: %1").arg(rendered.errorString())};
    return saveResultOf(platform::writeFileAtomically(path_, [&rendered](QIODevice& out) {
        QByteArray buffer;
        while (!(buffer = rendered.read(1 << 20)).isEmpty())
            if (out.write(buffer) != buffer.size())
                return out.errorString();
        return rendered.error() == QFileDevice::NoError ? QString() : rendered.errorString();
    }));
}

} // namespace notivo
