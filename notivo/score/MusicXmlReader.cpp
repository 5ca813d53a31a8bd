#include "notivo/score/MusicXmlReader.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "notivo/score/ColumnAssembly.h"
#include "notivo/score/NotePitch.h"
#include "notivo/score/NoteValues.h"
#include "notivo/score/ScoreModel.h"

namespace notivo {
namespace {

constexpr double Epsilon = 1e-6;
// No score is longer than this many semiquavers; a larger duration is a
// broken number that must not overflow the sums of times.
constexpr double LongestTime = 1e9;

// The value of a notated type: the grid's own, or its shortest or longest
// value for those it has not (which `change` then names).
std::optional<std::uint8_t> idOfType(QStringView type, std::optional<ImportReport::Item>& change)
{
    static constexpr std::pair<const char16_t*, std::uint8_t> Types[] = {
        {u"16th", NoteId::Semiquaver}, {u"eighth", NoteId::Quaver}, {u"quarter", NoteId::Quarter},
        {u"half", NoteId::Half},       {u"whole", NoteId::Whole},
    };
    for (const auto& [name, id] : Types)
        if (type == QStringView(name))
            return id;
    for (const char16_t* shorter : {u"32nd", u"64th", u"128th", u"256th", u"512th", u"1024th"})
        if (type == QStringView(shorter)) {
            change = ImportReport::ShortValues;
            return NoteId::Semiquaver;
        }
    for (const char16_t* longer : {u"breve", u"long", u"maxima"})
        if (type == QStringView(longer)) {
            change = ImportReport::LongValues;
            return NoteId::Whole;
        }
    return std::nullopt;
}

double number(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

// A note as read, before ties are followed to their end.
struct ReadNote {
    TimedNote timed;
    int pitch; // as written: staff position and accidental, what a tie joins
    int voice;
    bool tied = false;     // a tied note continued it
    bool waitsForTie = false;
    std::optional<std::uint8_t> typeId;
    std::optional<ImportReport::Item> typeChange; // a type the grid has no value for
    int dots = 0;
    bool tuplet = false;
};

// What one <note> element says.
struct NoteElement {
    bool grace = false, cue = false, chord = false, rest = false, unpitched = false;
    bool tieStart = false, tieStop = false, tuplet = false;
    std::optional<char> step;
    int octave = 4;
    double alter = 0;
    double duration = 0;
    int voice = 1;
    QString type;
    int dots = 0;
};

class PartReader {
public:
    PartReader(QXmlStreamReader& xml, ImportReport& report) : xml_(xml), report_(report) {}

    // Reads the <part> element the reader stands on; false with a problem
    // when the part cannot be read.
    bool read()
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"measure") {
                if (!readMeasure())
                    return false;
            } else {
                xml_.skipCurrentElement();
            }
        }
        return true;
    }

    QString problem() const { return problem_; }


    void assemble(Score& score)
    {
        std::vector<TimedNote> notes;
        notes.reserve(notes_.size());
        for (ReadNote& note : notes_) {
            note.timed.id = note.tied ? idOfTiedLength(note) : idOfWritten(note);
            notes.push_back(note.timed);
        }
        assembleColumns(std::move(notes), std::move(rests_), LeftoverSemiquaver::EmptyColumn, score, report_);
    }

private:
    // The text of the current element; elements inside it say nothing here.
    QString text() { return xml_.readElementText(QXmlStreamReader::SkipChildElements); }

    std::uint8_t idOfTiedLength(const ReadNote& note)
    {
        const double length = note.timed.end - note.timed.start;
        const std::uint8_t id = nearestNoteValue(length);
        if (std::abs(notatedSemiquavers(id) - length) > Epsilon)
            report_.count(ImportReport::TiesRounded);
        return id;
    }

    std::uint8_t idOfWritten(const ReadNote& note)
    {
        report_.count(ImportReport::Dots, note.dots);
        if (note.tuplet)
            report_.count(ImportReport::TupletNotes);
        if (note.typeChange)
            report_.count(*note.typeChange);
        return note.typeId ? *note.typeId : nearestNoteValue(note.timed.end - note.timed.start);
    }

    bool readMeasure()
    {
        double at = 0, longest = 0, chordStart = 0;
        while (xml_.readNextStartElement()) {
            const QStringView name = xml_.name();
            if (name == u"note") {
                NoteElement note;
                readNoteElement(note);
                take(note, at, chordStart, longest);
            } else if (name == u"attributes") {
                if (!readAttributes())
                    return false;
            } else if (name == u"backup" || name == u"forward") {
                const bool back = name == u"backup";
                double duration = 0;
                while (xml_.readNextStartElement()) {
                    if (xml_.name() == u"duration")
                        duration = semiquavers(number(text()));
                    else
                        xml_.skipCurrentElement();
                }
                at = back ? std::max(at - duration, 0.0) : at + duration;
                longest = std::max(longest, at);
            } else if (name == u"direction") {
                countWithin(u"dynamics", ImportReport::Dynamics);
            } else if (name == u"barline") {
                while (xml_.readNextStartElement()) {
                    if (xml_.name() == u"repeat" && xml_.attributes().value(QLatin1String("direction")) == u"backward")
                        report_.count(ImportReport::Repeats);
                    xml_.skipCurrentElement();
                }
            } else {
                xml_.skipCurrentElement();
            }
        }
        measureStart_ = std::min(measureStart_ + longest, LongestTime);
        return !xml_.hasError();
    }

    bool readAttributes()
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() != u"divisions") {
                xml_.skipCurrentElement();
                continue;
            }
            const double divisions = number(text());
            if (divisions <= 0) {
                problem_ = QStringLiteral("it has %1 divisions to the quarter note; there must be more than 0")
                               .arg(divisions);
                return false;
            }
            divisions_ = divisions;
        }
        return true;
    }

    double semiquavers(double duration) const
    {
        return std::clamp(duration * 4 / divisions_, 0.0, LongestTime);
    }

    // Counts the elements of one name anywhere inside the current element.
    void countWithin(QStringView element, ImportReport::Item item)
    {
        int depth = 1;
        while (depth > 0 && !xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::StartElement) {
                ++depth;
                if (xml_.name() == element)
                    report_.count(item);
            } else if (token == QXmlStreamReader::EndElement) {
                --depth;
            }
        }
    }

    void readTie(NoteElement& note)
    {
        const QStringView type = xml_.attributes().value(QLatin1String("type"));
        note.tieStart |= type == u"start";
        note.tieStop |= type == u"stop";
        xml_.skipCurrentElement();
    }

    void readNoteElement(NoteElement& note)
    {
        // Elements whose presence is all they say.
        static constexpr std::pair<const char16_t*, bool NoteElement::*> Marks[] = {
            {u"grace", &NoteElement::grace},         {u"cue", &NoteElement::cue},
            {u"chord", &NoteElement::chord},         {u"rest", &NoteElement::rest},
            {u"unpitched", &NoteElement::unpitched}, {u"time-modification", &NoteElement::tuplet},
        };
        while (xml_.readNextStartElement()) {
            const QStringView name = xml_.name();
            const auto mark = std::find_if(std::begin(Marks), std::end(Marks),
                                           [name](const auto& m) { return name == QStringView(m.first); });
            if (mark != std::end(Marks)) {
                note.*(mark->second) = true;
                xml_.skipCurrentElement();
            } else if (name == u"pitch") {
                readPitch(note);
            } else if (name == u"duration") {
                note.duration = number(text());
            } else if (name == u"tie") {
                readTie(note);
            } else if (name == u"voice") {
                note.voice = text().trimmed().toInt();
            } else if (name == u"type") {
                note.type = text().trimmed();
            } else if (name == u"dot") {
                ++note.dots;
                xml_.skipCurrentElement();
            } else if (name == u"notations") {
                while (xml_.readNextStartElement()) {
                    if (xml_.name() == u"tied")
                        readTie(note);
                    else if (xml_.name() == u"dynamics") {
                        report_.count(ImportReport::Dynamics);
                        xml_.skipCurrentElement();
                    } else
                        xml_.skipCurrentElement();
                }
            } else if (name == u"lyric") {
                report_.count(ImportReport::Lyrics);
                xml_.skipCurrentElement();
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

    void readPitch(NoteElement& note)
    {
        while (xml_.readNextStartElement()) {
            // The name is read before the text, which moves the reader on.
            const QStringView name = xml_.name();
            if (name == u"step") {
                const QString step = text().trimmed();
                if (step.size() == 1 && step[0] >= QLatin1Char('A') && step[0] <= QLatin1Char('G'))
                    note.step = step[0].toLatin1();
            } else if (name == u"octave") {
                note.octave = std::clamp(text().trimmed().toInt(), -10, 20);
            } else if (name == u"alter") {
                note.alter = std::clamp(number(text()), -12.0, 12.0);
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

    // The written pitch as a staff position and accidental; a double sharp
    // or flat as the nearest spelling of the pitch it sounds.
    struct Spelled {
        Spelling spelling;
        bool microtone = false;
        bool doubleAccidental = false;
    };
    static Spelled spell(const NoteElement& note)
    {
        const int position = staffPosition(*note.step, note.octave);
        const long alter = std::lrint(note.alter);
        Spelled spelled{{position, Accidental::None}, std::abs(note.alter - double(alter)) > Epsilon};
        if (alter == 1 || alter == -1)
            spelled.spelling.accidental = alter > 0 ? Accidental::Sharp : Accidental::Flat;
        if (std::abs(alter) < 2)
            return spelled;
        spelled.doubleAccidental = true;
        const auto spellings = spellingsOf(soundingKey(position, Accidental::None) + int(alter));
        // Toward the alteration: a double sharp as a natural or a sharp, a double flat as a natural or a flat.
        for (int i : alter > 0 ? std::array{0, 1, 2} : std::array{0, 2, 1})
            if (spellings[i]) {
                spelled.spelling = *spellings[i];
                break;
            }
        return spelled;
    }

    // Places a note element in time.
    void take(const NoteElement& note, double& at, double& chordStart, double& longest)
    {
        if (note.grace) {
            report_.count(ImportReport::GraceNotes);
            return;
        }
        const double length = semiquavers(note.duration);
        const double start = note.chord ? chordStart : at;
        if (!note.chord) {
            chordStart = at;
            at += length;
        }
        longest = std::max(longest, start + length);
        const double from = measureStart_ + start;
        const double to = from + length;
        if (note.cue) {
            report_.count(ImportReport::CueNotes);
        } else if (note.rest) {
            takeRest(note, from, to);
        } else if (note.unpitched || !note.step) {
            report_.count(ImportReport::UnpitchedNotes);
        } else {
            takeNote(note, from, to);
        }
    }

    void takeRest(const NoteElement& note, double from, double to)
    {
        // A rest tied over a barline is one rest, as a tied note is one note.
        const auto last = lastRest_.find(note.voice);
        if (note.tieStop && last != lastRest_.end() && std::abs(rests_[last->second].end - from) < Epsilon) {
            rests_[last->second].end = to;
            return;
        }
        lastRest_[note.voice] = rests_.size();
        rests_.push_back({from, to, note.voice});
    }

    // The note a tie stop continues: the last one written the same waiting
    // for it, in the same voice if there is one, that ends where this starts.
    ReadNote* continued(int pitch, int voice, double from)
    {
        auto waiting = [&](auto& map, const auto& at) -> ReadNote* {
            const auto it = map.find(at);
            if (it == map.end())
                return nullptr;
            ReadNote& open = notes_[it->second];
            return open.waitsForTie && std::abs(open.timed.end - from) < Epsilon ? &open : nullptr;
        };
        ReadNote* open = waiting(tiedInVoice_, std::pair(pitch, voice));
        return open ? open : waiting(tied_, pitch);
    }

    void waitForTie(std::size_t index)
    {
        ReadNote& note = notes_[index];
        note.waitsForTie = true;
        tiedInVoice_[{note.pitch, note.voice}] = index;
        tied_[note.pitch] = index;
    }

    void takeNote(const NoteElement& note, double from, double to)
    {
        const Spelled spelled = spell(note);
        const Spelling& spelling = spelled.spelling;
        const int pitch = spelling.position * 3 + spelling.accidental;
        if (ReadNote* open = note.tieStop ? continued(pitch, note.voice, from) : nullptr) {
            open->timed.end = to;
            open->tied = true;
            open->waitsForTie = note.tieStart;
            return;
        }
        // What changed is counted once a note, not again for the notes tied to it.
        if (spelled.microtone)
            report_.count(ImportReport::Microtones);
        if (spelled.doubleAccidental)
            report_.count(ImportReport::DoubleAccidentals);
        ReadNote read{{from, to, NoteId::Empty, spelling.position, spelling.accidental}, pitch, note.voice};
        read.typeId = idOfType(note.type, read.typeChange);
        read.dots = note.dots;
        read.tuplet = note.tuplet;
        notes_.push_back(read);
        if (note.tieStart)
            waitForTie(notes_.size() - 1);
    }

    QXmlStreamReader& xml_;
    ImportReport& report_;
    double divisions_ = 1; // until the part says otherwise
    double measureStart_ = 0;
    std::vector<ReadNote> notes_;
    std::vector<TimedRest> rests_;
    std::map<int, std::size_t> lastRest_;                      // by voice
    std::map<std::pair<int, int>, std::size_t> tiedInVoice_;   // notes waiting for a tie, by pitch and voice
    std::map<int, std::size_t> tied_;                          // and by pitch alone
    QString problem_;
};

ImportResult failed(QString problem)
{
    ImportResult result;
    result.problem = std::move(problem);
    return result;
}

} // namespace

ImportResult readMusicXml(QByteArrayView bytes, Score& score)
{
    QXmlStreamReader xml(QByteArray::fromRawData(bytes.data(), bytes.size()));
    auto broken = [&xml] {
        return failed(QStringLiteral("its XML is broken at line %1: %2").arg(xml.lineNumber()).arg(xml.errorString()));
    };
    if (!xml.readNextStartElement())
        return xml.hasError() ? broken() : failed(QStringLiteral("it holds no XML element"));
    if (xml.name() == u"score-timewise")
        return failed(QStringLiteral("it is a time-wise MusicXML score; only part-wise scores can be read"));
    if (xml.name() != u"score-partwise")
        return failed(QStringLiteral("it is XML but no MusicXML score (it begins with <%1>)").arg(xml.name()));

    ImportReport report;
    PartReader part(xml, report);
    int parts = 0;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"part" && ++parts == 1) {
            if (!part.read())
                return xml.hasError() ? broken() : failed(part.problem());
        } else {
            xml.skipCurrentElement();
        }
    }
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return broken();
    if (parts == 0)
        return failed(QStringLiteral("it is a MusicXML score without a part"));
    report.setPartsLeftOut(parts - 1);
    part.assemble(score);
    return {true, {}, report.text()};
}

} // namespace notivo
