// Recording a performance: F12, the red dot, writing the take.
#include "keyrig/frmPiano.h"

#include <QDir>

#include "keyrig/RecordingFile.h"
#include "platform/chrome/MessageBox.h"
#include "platform/midi/StandardMidiFile.h"

// Under the exit symbol, above the keys: bare background.
QRect frmPiano::recordingDotRect() { return QRect(345, 36, 7, 7); }

void frmPiano::toggleRecording()
{
    if (recorder_.isRecording()) {
        recorder_.stop(); // a take of nothing is dropped here
        update(recordingDotRect());
        if (recorder_.hasTake())
            saveRecording();
    } else if (recorder_.hasTake()) {
        saveRecording(); // the last write failed: try again
    } else {
        recorder_.start();
        update(recordingDotRect());
    }
}

QString frmPiano::writeRecording()
{
    update(recordingDotRect()); // a take that filled its room ended by itself
    if (!recorder_.hasTake())
        return {};
    const QByteArray bytes = platform::midi::standardMidiFile(QStringLiteral("keyrig"), recorder_.messages(),
                                                              recorder_.endMicroseconds());
    const RecordingFile::Outcome outcome =
        RecordingFile::write(RecordingFile::musicFolder(), recorder_.startedAt(), bytes);
    if (!outcome.ok())
        return QStringLiteral("The recording could not be saved as %1: %2.")
            .arg(QDir::toNativeSeparators(outcome.path), outcome.error);
    recorder_.discard();
    return {};
}

void frmPiano::saveRecording()
{
    const QString failure = writeRecording();
    if (!failure.isEmpty())
        platform::showMessage(this, failure + QStringLiteral("\nThe recording is kept: press F12 to try again."));
}

bool frmPiano::finishRecordingForExit()
{
    if (recorder_.isRecording())
        recorder_.stop();
    const QString failure = writeRecording();
    if (failure.isEmpty())
        return true;
    if (unattended_ || exitWarned_) {
        platform::showMessage(this, failure + QStringLiteral("\nThe recording is lost."));
        recorder_.discard();
        return true;
    }
    platform::showMessage(this, failure + QStringLiteral("\nkeyrig stays open and keeps the recording: press F12 "
                                                         "to try again, or close keyrig again to quit without it."));
    exitWarned_ = true;
    return false;
}
