#include "notivo/score/ColumnAssembly.h"

#include "notivo/score/ImportReport.h"
#include "notivo/score/NotePitch.h"
#include "notivo/score/PassRules.h"
#include "notivo/score/ScoreModel.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace notivo {
namespace {

// Times that differ by less than this are the same time (sums of divisions
// such as thirds are not exact in floating point).
constexpr double Epsilon = 1e-6;

// The times something covers, as disjoint spans.
class Coverage {
public:
    void add(double from, double to)
    {
        if (to - from <= Epsilon)
            return;
        auto it = spans_.upper_bound(from);
        if (it != spans_.begin() && std::prev(it)->second >= from - Epsilon) {
            --it;
            from = it->first;
            to = std::max(to, it->second);
            it = spans_.erase(it);
        }
        while (it != spans_.end() && it->first <= to + Epsilon) {
            to = std::max(to, it->second);
            it = spans_.erase(it);
        }
        spans_.emplace(from, to);
    }

    // The stretches of from..to that nothing covers, in order.
    template <class Visit>
    void forEachGap(double from, double to, Visit visit) const
    {
        double at = from;
        auto it = spans_.upper_bound(from);
        if (it != spans_.begin())
            at = std::max(at, std::prev(it)->second);
        for (; it != spans_.end() && it->first < to; ++it) {
            if (it->first - at > Epsilon)
                visit(at, it->first);
            at = std::max(at, it->second);
        }
        if (to - at > Epsilon)
            visit(at, to);
    }

private:
    std::map<double, double> spans_;
};

// Something that takes columns, at its time: the notes that start together
// (`first`..`last` of the sorted notes) or a stretch of silence.
struct Entry {
    double time;
    bool notes;
    std::size_t first = 0, last = 0;
    long long semiquavers = 0;
};

// Pauses for a stretch of silence: quarter pauses, then a quaver pause, then
// what a semiquaver left over becomes (no more than the grid can hold).
std::vector<std::uint8_t> pausesFor(long long semiquavers, LeftoverSemiquaver leftover)
{
    const long long quarters = std::clamp(semiquavers / 4, 0LL, (long long)ScoreColumns);
    std::vector<std::uint8_t> pauses(std::size_t(quarters), NoteId::QuarterPause);
    if (semiquavers % 4 >= 2)
        pauses.push_back(NoteId::QuaverPause);
    if (semiquavers % 2 == 1 && leftover == LeftoverSemiquaver::EmptyColumn)
        pauses.push_back(NoteId::Empty);
    return pauses;
}

// Moves a position by octaves into the played ones; the octaves moved (down
// when positive).
int foldIntoPlayed(int& position)
{
    int octaves = 0;
    if (position < 1)
        octaves = (1 - position + 6) / 7;
    else if (position > PlayedPositions)
        octaves = -((position - PlayedPositions + 6) / 7);
    position += 7 * octaves;
    return octaves;
}

class ColumnWriter {
public:
    ColumnWriter(Score& score, ImportReport& report) : score_(score), report_(report) {}

    bool full() const { return column_ >= ScoreColumns; }

    void notes(const TimedNote* first, const TimedNote* last)
    {
        ++column_;
        // Longer notes first: of two that cannot share the column, the longer stays.
        std::vector<const TimedNote*> chord;
        for (const TimedNote* n = first; n != last; ++n)
            chord.push_back(n);
        std::stable_sort(chord.begin(), chord.end(), [](const TimedNote* a, const TimedNote* b) { return a->id > b->id; });
        keys_.clear();
        // Every note where it is written first (the same note written twice
        // is one); then those whose line or space holds another note, to
        // another spelling of their pitch.
        std::vector<std::pair<const TimedNote*, int>> displaced;
        for (const TimedNote* note : chord) {
            int position = note->position;
            const int octaves = foldIntoPlayed(position);
            if (place(Spelling{position, note->accidental}, *note, octaves))
                continue;
            if (score_.ScoreAccidentals.cell(position, column_) == note->accidental)
                report_.count(ImportReport::Unisons);
            else
                displaced.emplace_back(note, octaves);
        }
        for (const auto& [note, octaves] : displaced) {
            int position = note->position;
            foldIntoPlayed(position);
            const int key = soundingKey(position, note->accidental);
            if (std::find(keys_.begin(), keys_.end(), key) != keys_.end()) {
                report_.count(ImportReport::Unisons);
                continue;
            }
            bool placed = false;
            for (const std::optional<Spelling>& other : spellingsOf(key))
                if (other && other->position >= 1 && other->position <= PlayedPositions &&
                    place(*other, *note, octaves)) {
                    placed = true;
                    break;
                }
            if (!placed)
                report_.count(ImportReport::NoFreeCell);
        }
    }

    void pause(std::uint8_t id)
    {
        ++column_;
        if (id != NoteId::Empty)
            score_.ScoreNotes.cell(RestPosition, column_) = id;
    }

    int columns() const { return column_; }

private:
    // The note at `spot` when that cell is free.
    bool place(const Spelling& spot, const TimedNote& note, int octaves)
    {
        if (score_.ScoreNotes.cell(spot.position, column_) != NoteId::Empty)
            return false;
        report_.noteOctaveMove(octaves);
        keys_.push_back(soundingKey(spot.position, spot.accidental));
        score_.ScoreNotes.cell(spot.position, column_) = note.id;
        score_.ScoreAccidentals.cell(spot.position, column_) = spot.accidental;
        return true;
    }

    Score& score_;
    ImportReport& report_;
    int column_ = 0;
    std::vector<int> keys_; // sounding in the current column
};

} // namespace

std::array<std::optional<Spelling>, 3> spellingsOf(int key)
{
    // The white keys of an octave from C, with their steps.
    constexpr int WhiteStep[12] = {0, -1, 1, -1, 2, 3, -1, 4, -1, 5, -1, 6};
    constexpr char Steps[] = "CDEFGAB";
    auto natural = [&](int k) -> std::optional<int> {
        const int octave = (k >= 0 ? k / 12 : (k - 11) / 12) - 1;
        const int step = WhiteStep[k - 12 * (octave + 1)];
        if (step < 0)
            return std::nullopt;
        return staffPosition(Steps[step], octave);
    };
    std::array<std::optional<Spelling>, 3> spellings;
    if (const auto p = natural(key))
        spellings[0] = Spelling{*p, Accidental::None};
    if (const auto p = natural(key - 1))
        spellings[1] = Spelling{*p, Accidental::Sharp};
    if (const auto p = natural(key + 1))
        spellings[2] = Spelling{*p, Accidental::Flat};
    return spellings;
}

void assembleColumns(std::vector<TimedNote> notes, std::vector<TimedRest> rests, LeftoverSemiquaver leftover,
                     Score& score, ImportReport& report)
{
    score.resetForLoad();
    std::stable_sort(notes.begin(), notes.end(), [](const TimedNote& a, const TimedNote& b) { return a.start < b.start; });

    std::vector<Entry> entries;
    std::vector<double> onsets;
    Coverage covered;
    double end = 0;
    for (std::size_t i = 0; i < notes.size();) {
        std::size_t j = i;
        while (j < notes.size() && notes[j].start - notes[i].start < Epsilon) {
            covered.add(notes[j].start, notes[j].end);
            end = std::max(end, notes[j].end);
            ++j;
        }
        entries.push_back({notes[i].start, true, i, j});
        onsets.push_back(notes[i].start);
        i = j;
    }

    // Rests claim silence voice by voice, so that the rests of the first voice
    // say how a silence is divided before those of the others.
    std::stable_sort(rests.begin(), rests.end(), [](const TimedRest& a, const TimedRest& b) {
        return a.voice != b.voice ? a.voice < b.voice : a.start < b.start;
    });
    auto silence = [&](double from, double to) {
        entries.push_back({from, false, 0, 0, std::llrint(to - from)});
    };
    for (const TimedRest& rest : rests) {
        const auto onset = std::lower_bound(onsets.begin(), onsets.end(), rest.start - Epsilon);
        const bool withNotes = onset != onsets.end() && *onset - rest.start < Epsilon;
        std::vector<std::pair<double, double>> gaps;
        covered.forEachGap(rest.start, rest.end, [&](double from, double to) { gaps.emplace_back(from, to); });
        for (const auto& [from, to] : gaps) {
            covered.add(from, to);
            if (!withNotes)
                silence(from, to);
        }
        end = std::max(end, rest.end);
    }
    // What neither a note nor a rest covers before the end of the last of them.
    covered.forEachGap(0, end, silence);

    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return std::pair(a.time, !a.notes) < std::pair(b.time, !b.notes); });

    ColumnWriter columns(score, report);
    int notesAfterCut = 0;
    bool cut = false;
    for (const Entry& entry : entries) {
        if (columns.full()) {
            // Past the last column only the notes are counted, for the report.
            cut |= entry.notes || entry.semiquavers >= 2 ||
                   (entry.semiquavers == 1 && leftover == LeftoverSemiquaver::EmptyColumn);
            notesAfterCut += int(entry.last - entry.first);
        } else if (entry.notes) {
            columns.notes(notes.data() + entry.first, notes.data() + entry.last);
        } else {
            for (std::uint8_t pause : pausesFor(entry.semiquavers, leftover)) {
                if (columns.full()) {
                    cut = true;
                    break;
                }
                columns.pause(pause);
            }
        }
    }
    if (cut)
        report.setCut(notesAfterCut);
    score.ColumnCount = columns.columns();
}

} // namespace notivo
