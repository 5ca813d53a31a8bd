#include "notivo/score/MusicXmlWriter.h"

#include <QXmlStreamWriter>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "notivo/score/NotePitch.h"
#include "notivo/score/NoteValues.h"
#include "notivo/score/PassRules.h"
#include "notivo/score/ScoreModel.h"

namespace notivo {
namespace {

// Time is counted in semiquavers: four divisions to the quarter note.
constexpr int Divisions = 4;
constexpr int BarLength = 4 * Divisions; // 4/4
// A quarter note plays for three tempo units, which gives the metronome mark.
constexpr int QuarterNoteUnits = 3;

// One notated value that a stretch of time is written with.
struct NoteValue {
    int length;
    const char* type;
    bool dotted;
};
constexpr std::array<NoteValue, 8> Values{{
    {16, "whole", false}, {12, "half", true}, {8, "half", false}, {6, "quarter", true},
    {4, "quarter", false}, {3, "eighth", true}, {2, "eighth", false}, {1, "16th", false},
}};

// Largest values first: every length of a bar or less is written with few values.
std::vector<NoteValue> valuesFor(int length)
{
    std::vector<NoteValue> values;
    for (const NoteValue& value : Values)
        while (length >= value.length) {
            values.push_back(value);
            length -= value.length;
        }
    return values;
}

// Notation programs keep to four voices on a staff.
constexpr std::size_t MaxVoices = 4;

struct SegmentNote {
    WrittenPitch pitch;
    bool tieIn = false;  // continues a note of the segment before it in the voice
    bool tieOut = false; // goes on in the segment after it
};

// What one voice holds in one column: a chord of one value, or a rest.
struct Segment {
    int start;
    int length;
    int voice;
    bool rest;
    std::vector<SegmentNote> notes; // top to bottom
};

// The column's groups: each distinct note value is one chord, a rest is its
// own group; the longest comes first and takes voice 1.
std::vector<Segment> columnSegments(const Score& score, int column, int start)
{
    std::map<int, std::vector<SegmentNote>, std::greater<>> chords; // by length
    int restId = 0;
    for (int r = 1; r <= PlayedPositions; ++r) {
        const int id = score.ScoreNotes.cell(r, column);
        if (id >= NoteId::Semiquaver && id <= NoteId::Whole)
            chords[notatedSemiquavers(id)].push_back({writtenPitch(r, score.ScoreAccidentals.cell(r, column))});
        // A rest away from its position still rests its column, as playback has it.
        else if (isRestId(id) && (restId == 0 || r == RestPosition))
            restId = id;
    }
    std::vector<Segment> segments;
    for (auto& [length, notes] : chords)
        segments.push_back({start, length, 0, false, std::move(notes)});
    if (restId != 0 || segments.empty()) {
        const int length = restId != 0 ? notatedSemiquavers(restId) : 1;
        segments.push_back({start, length, 0, true, {}});
    }
    std::stable_sort(segments.begin(), segments.end(),
                     [](const Segment& a, const Segment& b) { return a.length > b.length; });
    std::vector<std::vector<Segment>> voices;
    for (Segment& segment : segments)
        voices.push_back({std::move(segment)});
    // More values than voices: the two shortest share one voice.  Both are
    // struck as one chord as long as the shorter lasts, and the longer goes
    // on tied.  A rest among notes only rests a voice, so it gives way first.
    // A voice moves whole: a voice merged before keeps the tied end of its
    // longer note.
    while (voices.size() > MaxVoices) {
        std::vector<Segment> shorterVoice = std::move(voices.back());
        voices.pop_back();
        Segment& shorter = shorterVoice.front();
        Segment& longer = voices.back().front();
        if (shorter.rest)
            continue;
        if (longer.rest) {
            voices.back() = std::move(shorterVoice);
            continue;
        }
        Segment rest = longer;
        rest.start += shorter.length;
        rest.length -= shorter.length;
        for (SegmentNote& note : rest.notes)
            note.tieIn = true;
        for (SegmentNote& note : longer.notes)
            note.tieOut = true;
        longer.length = shorter.length;
        longer.notes.insert(longer.notes.end(), shorter.notes.begin(), shorter.notes.end());
        voices.back().push_back(std::move(rest));
    }
    std::vector<Segment> placed;
    for (std::size_t v = 0; v < voices.size(); ++v)
        for (Segment& segment : voices[v]) {
            segment.voice = static_cast<int>(v) + 1;
            placed.push_back(std::move(segment));
        }
    return placed;
}

const char* accidentalName(int alter) { return alter > 0 ? "sharp" : alter < 0 ? "flat" : "natural"; }

class PartWriter {
public:
    explicit PartWriter(QXmlStreamWriter& xml) : xml_(xml) {}

    void write(const std::vector<Segment>& segments, int totalLength, int tempoValue)
    {
        end_ = totalLength;
        const int bars = std::max(1, (totalLength + BarLength - 1) / BarLength);
        const int voices = segments.empty() ? 1
                           : std::max_element(segments.begin(), segments.end(), [](const Segment& a, const Segment& b) {
                                 return a.voice < b.voice;
                             })->voice;
        for (int bar = 0; bar < bars; ++bar) {
            const int barStart = bar * BarLength;
            xml_.writeStartElement(QStringLiteral("measure"));
            xml_.writeAttribute(QStringLiteral("number"), QString::number(bar + 1));
            if (bar == 0)
                writeOpening(tempoValue);
            alters_.clear();
            bool backup = false;
            for (int voice = 1; voice <= voices; ++voice) {
                std::vector<const Segment*> inBar;
                for (const Segment& s : segments)
                    if (s.voice == voice && s.start < barStart + BarLength && s.start + s.length > barStart)
                        inBar.push_back(&s);
                if (inBar.empty() && voice > 1)
                    continue;
                if (backup)
                    writeTimeStep(QStringLiteral("backup"), BarLength);
                backup = true;
                int at = barStart;
                for (const Segment* s : inBar) {
                    const int from = std::max(s->start, barStart);
                    const int to = std::min(s->start + s->length, barStart + BarLength);
                    fill(voice, at, from);
                    writeSegmentPart(*s, from, to);
                    at = to;
                }
                fill(voice, at, barStart + BarLength);
            }
            if (bar == bars - 1) {
                xml_.writeStartElement(QStringLiteral("barline"));
                xml_.writeAttribute(QStringLiteral("location"), QStringLiteral("right"));
                xml_.writeTextElement(QStringLiteral("bar-style"), QStringLiteral("light-heavy"));
                xml_.writeEndElement();
            }
            xml_.writeEndElement(); // measure
        }
    }

private:
    void writeOpening(int tempoValue)
    {
        xml_.writeStartElement(QStringLiteral("attributes"));
        xml_.writeTextElement(QStringLiteral("divisions"), QString::number(Divisions));
        xml_.writeStartElement(QStringLiteral("key"));
        xml_.writeTextElement(QStringLiteral("fifths"), QStringLiteral("0"));
        xml_.writeEndElement();
        xml_.writeStartElement(QStringLiteral("time"));
        xml_.writeTextElement(QStringLiteral("beats"), QStringLiteral("4"));
        xml_.writeTextElement(QStringLiteral("beat-type"), QStringLiteral("4"));
        xml_.writeEndElement();
        xml_.writeStartElement(QStringLiteral("clef"));
        xml_.writeTextElement(QStringLiteral("sign"), QStringLiteral("G"));
        xml_.writeTextElement(QStringLiteral("line"), QStringLiteral("2"));
        xml_.writeEndElement();
        xml_.writeEndElement(); // attributes

        const double perMinute = 60000.0 / (QuarterNoteUnits * unitMilliseconds(tempoValue));
        xml_.writeStartElement(QStringLiteral("direction"));
        xml_.writeAttribute(QStringLiteral("placement"), QStringLiteral("above"));
        xml_.writeStartElement(QStringLiteral("direction-type"));
        xml_.writeStartElement(QStringLiteral("metronome"));
        xml_.writeTextElement(QStringLiteral("beat-unit"), QStringLiteral("quarter"));
        xml_.writeTextElement(QStringLiteral("per-minute"), QString::number(std::lrint(perMinute)));
        xml_.writeEndElement();
        xml_.writeEndElement(); // direction-type
        xml_.writeStartElement(QStringLiteral("sound"));
        xml_.writeAttribute(QStringLiteral("tempo"), QString::number(perMinute, 'f', 2));
        xml_.writeEndElement();
        xml_.writeEndElement(); // direction
    }

    void writeTimeStep(const QString& name, int length)
    {
        xml_.writeStartElement(name);
        xml_.writeTextElement(QStringLiteral("duration"), QString::number(length));
        xml_.writeEndElement();
    }

    // Time a voice holds nothing: rests in the first voice, so every bar is
    // full; an invisible step forward in the others.  The last bar is filled
    // with a step forward after the score's end: notation programs show
    // rests there all the same, and a reader of the file sees where the
    // score ends rather than rests it never held.
    void fill(int voice, int from, int to)
    {
        if (to <= from)
            return;
        if (voice > 1 || from >= end_) {
            writeTimeStep(QStringLiteral("forward"), to - from);
            return;
        }
        for (const NoteValue& value : valuesFor(to - from))
            writeRest(value, voice);
    }

    // The part of a segment inside one bar, written with as few values as
    // it takes, tied to what comes before and after.
    void writeSegmentPart(const Segment& s, int from, int to)
    {
        const std::vector<NoteValue> values = valuesFor(to - from);
        const int end = s.start + s.length;
        int at = from;
        for (const NoteValue& value : values) {
            if (s.rest) {
                // A rest column split by a barline is tied like a note, so a
                // reader knows it for one column and not two.
                writeNote(nullptr, value, s.voice,
                          NoteJoin{.tieStop = at > s.start, .tieStart = at + value.length < end});
            } else {
                bool chord = false;
                for (const SegmentNote& note : s.notes) {
                    const NoteJoin join{.chord = chord,
                                        .tieStop = at > s.start || note.tieIn,
                                        .tieStart = at + value.length < end || note.tieOut};
                    writeNote(&note.pitch, value, s.voice, join);
                    chord = true;
                }
            }
            at += value.length;
        }
    }

    // How a note joins its neighbours: it sounds with the note written
    // before it (a chord), it is tied from the one before, to the next.
    struct NoteJoin {
        bool chord = false;
        bool tieStop = false;
        bool tieStart = false;
    };

    void writeRest(const NoteValue& value, int voice) { writeNote(nullptr, value, voice, {}); }

    // A note of `pitch`, or a rest without one.
    void writeNote(const WrittenPitch* pitch, const NoteValue& value, int voice, const NoteJoin& join)
    {
        const bool tieStop = join.tieStop;
        const bool tieStart = join.tieStart;
        xml_.writeStartElement(QStringLiteral("note"));
        if (join.chord)
            xml_.writeEmptyElement(QStringLiteral("chord"));
        if (pitch) {
            xml_.writeStartElement(QStringLiteral("pitch"));
            xml_.writeTextElement(QStringLiteral("step"), QString(QLatin1Char(pitch->step)));
            if (pitch->alter != 0)
                xml_.writeTextElement(QStringLiteral("alter"), QString::number(pitch->alter));
            xml_.writeTextElement(QStringLiteral("octave"), QString::number(pitch->octave));
            xml_.writeEndElement();
        } else {
            xml_.writeEmptyElement(QStringLiteral("rest"));
        }
        xml_.writeTextElement(QStringLiteral("duration"), QString::number(value.length));
        for (const auto& [on, type] : {std::pair{tieStop, "stop"}, std::pair{tieStart, "start"}})
            if (on) {
                xml_.writeEmptyElement(QStringLiteral("tie"));
                xml_.writeAttribute(QStringLiteral("type"), QLatin1String(type));
            }
        xml_.writeTextElement(QStringLiteral("voice"), QString::number(voice));
        xml_.writeTextElement(QStringLiteral("type"), QLatin1String(value.type));
        if (value.dotted)
            xml_.writeEmptyElement(QStringLiteral("dot"));
        if (pitch && !tieStop) {
            // Sharps and flats are shown as written; a natural only where an
            // earlier note of this bar on the same line or space was altered.
            const int key = pitch->octave * 8 + (pitch->step - 'A');
            const auto known = alters_.find(key);
            const int current = known == alters_.end() ? 0 : known->second;
            if (pitch->alter != 0 || current != 0)
                xml_.writeTextElement(QStringLiteral("accidental"), QLatin1String(accidentalName(pitch->alter)));
            alters_[key] = pitch->alter;
        }
        if (pitch && (tieStop || tieStart)) {
            xml_.writeStartElement(QStringLiteral("notations"));
            for (const auto& [on, type] : {std::pair{tieStop, "stop"}, std::pair{tieStart, "start"}})
                if (on) {
                    xml_.writeEmptyElement(QStringLiteral("tied"));
                    xml_.writeAttribute(QStringLiteral("type"), QLatin1String(type));
                }
            xml_.writeEndElement();
        }
        xml_.writeEndElement(); // note
    }

    QXmlStreamWriter& xml_;
    int end_ = 0;               // where the score ends, in semiquavers
    std::map<int, int> alters_; // alteration in force in this bar, by line or space
};

} // namespace

QByteArray musicXml(const Score& score, int tempoValue, const QString& partName)
{
    std::vector<Segment> segments;
    int at = 0;
    const int columns = std::clamp(score.ColumnCount, 0, ScoreColumns);
    for (int k = 1; k <= columns; ++k) {
        std::vector<Segment> column = columnSegments(score, k, at);
        at += column.front().length;
        std::move(column.begin(), column.end(), std::back_inserter(segments));
    }

    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument(QStringLiteral("1.0"), false);
    xml.writeDTD(QStringLiteral("<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
                                "\"http://www.musicxml.org/dtds/partwise.dtd\">"));
    xml.writeStartElement(QStringLiteral("score-partwise"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("4.0"));
    xml.writeStartElement(QStringLiteral("identification"));
    xml.writeStartElement(QStringLiteral("encoding"));
    xml.writeTextElement(QStringLiteral("software"), QStringLiteral("notivo " PROGRAM_VERSION));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("part-list"));
    xml.writeStartElement(QStringLiteral("score-part"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("P1"));
    xml.writeTextElement(QStringLiteral("part-name"), partName);
    xml.writeStartElement(QStringLiteral("score-instrument"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("P1-I1"));
    xml.writeTextElement(QStringLiteral("instrument-name"), partName);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("part"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("P1"));
    PartWriter(xml).write(segments, at, tempoValue);
    xml.writeEndElement(); // part
    xml.writeEndElement(); // score-partwise
    xml.writeEndDocument();
    return bytes;
}

} // namespace notivo
