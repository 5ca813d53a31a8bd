#include "notivo/score/ImportReport.h"

#include "notivo/score/ScoreModel.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace notivo {
namespace {

// "1 dot" or "3 dots", followed by what happened to them.
QString phrase(int n, const char* singular, const char* plural, const char* what)
{
    return QStringLiteral("%1 %2 %3").arg(n).arg(QLatin1String(n == 1 ? singular : plural), QLatin1String(what));
}

QString moved(int notes, int largest, const char* direction)
{
    const QString how = largest == 1 ? QStringLiteral("an octave %1").arg(QLatin1String(direction))
                        : notes == 1 ? QStringLiteral("%1 octaves %2").arg(largest).arg(QLatin1String(direction))
                                     : QStringLiteral("%1 by up to %2 octaves").arg(QLatin1String(direction)).arg(largest);
    return QStringLiteral("%1 %2 moved %3").arg(notes).arg(notes == 1 ? "note" : "notes", how);
}

struct Wording {
    ImportReport::Item item;
    const char* singular;
    const char* plural;
    const char* what;
};

constexpr Wording Wordings[] = {
    {ImportReport::Dots, "dot", "dots", "left out"},
    {ImportReport::TupletNotes, "note of a tuplet", "notes of tuplets", "written as plain values"},
    {ImportReport::ShortValues, "note shorter than a semiquaver", "notes shorter than a semiquaver",
     "written as semiquavers"},
    {ImportReport::LongValues, "note longer than a whole note", "notes longer than a whole note",
     "written as whole notes"},
    {ImportReport::TiesRounded, "tied note", "tied notes", "written as the nearest value"},
    {ImportReport::DoubleAccidentals, "double sharp or flat", "double sharps or flats",
     "written as the nearest note"},
    {ImportReport::Microtones, "microtone", "microtones", "rounded to a semitone"},
    {ImportReport::GraceNotes, "grace note", "grace notes", "left out"},
    {ImportReport::CueNotes, "cue note", "cue notes", "left out"},
    {ImportReport::UnpitchedNotes, "unpitched note", "unpitched notes", "left out"},
    {ImportReport::PercussionNotes, "percussion note", "percussion notes", "left out"},
    {ImportReport::Unisons, "note doubling another", "notes doubling others", "left out"},
    {ImportReport::NoFreeCell, "note", "notes", "left out for want of a free line or space"},
    {ImportReport::Lyrics, "lyric", "lyrics", "left out"},
    {ImportReport::Dynamics, "dynamic", "dynamics", "left out"},
    {ImportReport::Repeats, "repeat sign", "repeat signs", "left out (played once)"},
};

} // namespace

void ImportReport::noteOctaveMove(int octaves)
{
    if (octaves > 0) {
        count(NotesMovedDown);
        largestMoveDown_ = std::max(largestMoveDown_, octaves);
    } else if (octaves < 0) {
        count(NotesMovedUp);
        largestMoveUp_ = std::max(largestMoveUp_, -octaves);
    }
}

QString ImportReport::text() const
{
    QStringList parts;
    if (cut_)
        parts << (notesAfterCut_ > 0 ? QStringLiteral("the score stops at column %1; %2 after it left out")
                                           .arg(ScoreColumns)
                                           .arg(notesAfterCut_ == 1 ? QStringLiteral("1 note")
                                                                    : QStringLiteral("%1 notes").arg(notesAfterCut_))
                                     : QStringLiteral("the score stops at column %1; the rests after it left out")
                                           .arg(ScoreColumns));
    if (counts_[NotesMovedDown] > 0)
        parts << moved(counts_[NotesMovedDown], largestMoveDown_, "down");
    if (counts_[NotesMovedUp] > 0)
        parts << moved(counts_[NotesMovedUp], largestMoveUp_, "up");
    for (const Wording& w : Wordings)
        if (counts_[w.item] > 0)
            parts << phrase(counts_[w.item], w.singular, w.plural, w.what);
    if (partsLeftOut_ == 1)
        parts << QStringLiteral("part 2 left out");
    else if (partsLeftOut_ > 1)
        parts << QStringLiteral("parts 2-%1 left out").arg(partsLeftOut_ + 1);
    return parts.join(QStringLiteral("; "));
}

} // namespace notivo
