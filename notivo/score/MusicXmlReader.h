#pragma once
#include <QByteArrayView>

#include "notivo/score/ImportReport.h"

namespace notivo {

class Score;

// Reads a part-wise MusicXML document into the grid: the first part, every
// voice merged by time.  A note's value comes from its notated type (a tied
// note from the length of the whole), its pitch from step, octave and alter;
// rests and silence become pauses; grace notes, lyrics, dynamics and the
// other parts are left out and counted in the report.  On a document that is
// no part-wise MusicXML or whose XML is broken the score is left as it was.
ImportResult readMusicXml(QByteArrayView bytes, Score& score);

} // namespace notivo
