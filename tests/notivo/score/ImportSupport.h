#pragma once
// What the import tests build files from and read scores back as.
#include <QString>
#include <QStringList>

#include <string>

#include "notivo/score/NotePitch.h"
#include "notivo/score/PassRules.h"
#include "notivo/score/ScoreModel.h"

namespace importsupport {

// The columns of a score, one text each: its notes top down as written
// pitch and id ("F#4=3"), "Q" or "q" for a quarter or quaver pause, "-" for
// an empty column.
inline QStringList columnsOf(const notivo::Score& score)
{
    QStringList columns;
    for (int c = 1; c <= score.ColumnCount; ++c) {
        QStringList notes;
        for (int p = 1; p <= notivo::ScorePositions; ++p) {
            const int id = score.ScoreNotes.cell(p, c);
            if (id == notivo::NoteId::QuarterPause || id == notivo::NoteId::QuaverPause) {
                notes << (id == notivo::NoteId::QuarterPause ? "Q" : "q");
            } else if (id != 0) {
                const notivo::WrittenPitch w = notivo::writtenPitch(p, score.ScoreAccidentals.cell(p, c));
                notes << QStringLiteral("%1%2%3=%4").arg(QChar(w.step)).arg(w.alter > 0 ? "#" : w.alter < 0 ? "b" : "").arg(w.octave).arg(id);
            }
        }
        columns << (notes.isEmpty() ? QStringLiteral("-") : notes.join(' '));
    }
    return columns;
}

// Columns as one text that a failed comparison shows as it is.
inline std::string shown(const QStringList& columns) { return columns.join(QStringLiteral(" | ")).toStdString(); }
inline std::string shownColumns(const notivo::Score& score) { return shown(columnsOf(score)); }

// A part-wise MusicXML document of one part, or more, of measures.
inline QByteArray musicXml(const QStringList& measures, int extraParts = 0)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\"?><score-partwise version=\"4.0\"><part-list>"
                                 "<score-part id=\"P1\"><part-name>A</part-name></score-part></part-list><part id=\"P1\">");
    for (int m = 0; m < measures.size(); ++m)
        xml += QStringLiteral("<measure number=\"%1\">%2%3</measure>")
                   .arg(m + 1)
                   .arg(m == 0 ? "<attributes><divisions>4</divisions></attributes>" : "", measures[m]);
    xml += QStringLiteral("</part>");
    for (int p = 0; p < extraParts; ++p)
        xml += QStringLiteral("<part id=\"X%1\"><measure number=\"1\"><note><pitch><step>C</step><octave>4</octave>"
                              "</pitch><duration>4</duration></note></measure></part>").arg(p);
    return (xml + QStringLiteral("</score-partwise>")).toUtf8();
}

// A note in divisions of 4 to the quarter: pitch as "C5", "F#4", "Bbb3" or
// "" for a rest; `more` goes inside the element.
inline QString note(const QString& pitch, int duration, const QString& type, const QString& more = {})
{
    QString what = QStringLiteral("<rest/>");
    if (!pitch.isEmpty()) {
        const int alter = int(pitch.count('#')) - int(pitch.mid(1).count('b'));
        what = QStringLiteral("<pitch><step>%1</step>%2<octave>%3</octave></pitch>")
                   .arg(pitch[0])
                   .arg(alter ? QStringLiteral("<alter>%1</alter>").arg(alter) : QString())
                   .arg(pitch.right(1));
    }
    return QStringLiteral("<note>%1<duration>%2</duration>%3<type>%4</type></note>")
        .arg(what)
        .arg(duration)
        .arg(more, type);
}

} // namespace importsupport
