#pragma once
#include <QByteArray>
#include <QString>

namespace notivo {

class Score;

// The score as a MusicXML 4.0 part-wise document for notation programs: one
// part named `partName` in treble clef and 4/4, the notes and rests of the
// played positions as written, column by column.  The notes of a column form
// a chord; notes of different values share the column in separate voices,
// the longest first, and the next column starts when the longest ends.  An
// empty column counts as a semiquaver rest, as long as it plays.  Bars are
// filled (the last one after the score's end with a step forward, which
// notation programs show as rests), notes and rests that cross a barline are
// tied over it, the last bar ends with a final barline, and the tempo bar's
// value becomes a metronome mark for the quarter note.  So the document reads
// back as the same columns.
QByteArray musicXml(const Score& score, int tempoValue, const QString& partName);

} // namespace notivo
