#pragma once
#include <QByteArrayView>

#include "notivo/score/ImportReport.h"

namespace notivo {

class Score;

// Reads a Standard MIDI File (format 0 or 1) as notation: every track and
// channel but percussion, merged; onsets and lengths quantised to semiquavers
// on the file's own tempo map.  Notes that start together share a column and
// a note that starts while an earlier column sounds ends that column there;
// each note's value is the one nearest its length, silences of a quaver or
// more become pauses.  Black keys are written as sharps (C#, D#, F#, G#, A#)
// unless the chord already holds that line or space.  A file that breaks the
// format leaves the score as it was.
ImportResult readMidiFile(QByteArrayView bytes, Score& score);

} // namespace notivo
