#include "notivo/score/PassRules.h"

#include <algorithm>
#include <map>

#include "notivo/score/NotePitch.h"

namespace notivo {

PassRules::PassRules(const Score& score, int first, int last, int unitMs)
    : score_(score),
      last_(std::clamp(last, 0, ScoreColumns)),
      unitMs_(std::max(unitMs, 0)),
      column_(std::max(first, 1)),
      working_(std::size_t(ScorePositions + 1) * (ScoreColumns + 1), 0)
{
    for (int k = column_; k <= last_; ++k) {
        working(RestPosition, k) = score_.ScoreNotes.cell(RestPosition, k);
        for (int r = 1; r <= PlayedPositions; ++r) {
            const int id = score_.ScoreNotes.cell(r, k);
            if (r == RestPosition || id == 0)
                continue;
            if (id < NoteId::QuarterPause)
                working(r, k) = static_cast<std::int16_t>(id);
            // A rest away from its position (moved by Move Up/Down, or read
            // from a file) is still the rest of its column: played as silence,
            // never counted as a note, so the column cannot repeat forever.
            // Unknown ids there are ignored.
            else if (isRestId(id) && working(RestPosition, k) == 0)
                working(RestPosition, k) = static_cast<std::int16_t>(id);
        }
    }
}

std::int16_t& PassRules::working(int position, int column)
{
    return working_[std::size_t(column) * (ScorePositions + 1) + position];
}

PassStart PassRules::startPass()
{
    PassStart pass;
    const int k = column_;
    for (int r = 1; r <= PlayedPositions; ++r) {
        const int n = working(r, k);
        if (n == 0 || n >= NoteId::QuarterPause || sustain_)
            continue;
        const std::uint8_t accidental = score_.ScoreAccidentals.cell(r, k);
        const int v = FixNotes(r, accidental);
        // The accidental was changed by an edit since this position struck:
        // the old key must not be left sounding.
        if (sounding_[r] != 0 && sounding_[r] != v)
            pass.notes.push_back({false, sounding_[r]});
        pass.notes.push_back({true, v});
        sounding_[r] = v;
        pass.names += NoteTip(r, accidental, false) + QLatin1Char(' ');
    }
    if (pass.names.isEmpty())
        pass.names = lastNames_;
    lastNames_ = pass.names;

    const int rest = working(RestPosition, k);
    pass.lengthMs = unitMs_;
    if (rest >= NoteId::QuarterPause)
        pass.lengthMs = rest == NoteId::QuaverPause  ? QuaverPauseUnits * unitMs_
                      : rest == NoteId::QuarterPause ? QuarterPauseUnits * unitMs_
                                                     : 0;
    return pass;
}

PassEnd PassRules::endPass()
{
    PassEnd pass;
    const int k = column_;
    bool repeat = false;
    if (working(RestPosition, k) >= NoteId::QuarterPause) {
        sustain_ = false;
        working(RestPosition, k) = 0;
    }
    // Count down; the last non-empty position of the pass decides sustain.
    for (int r = 1; r <= PlayedPositions; ++r) {
        std::int16_t& n = working(r, k);
        if (n == 0)
            continue;
        if (n < NoteId::QuarterPause)
            --n;
        if (n != 0) {
            repeat = true;
            sustain_ = true;
        } else {
            pass.notes.push_back({false, sounding_[r] != 0 ? sounding_[r] : FixNotes(r, score_.ScoreAccidentals.cell(r, k))});
            sounding_[r] = 0;
            sustain_ = false;
        }
    }
    pass.passedColumn = k;
    pass.lineColumn = repeat ? k - 1 : k;
    column_ = pass.lineColumn + 1;
    return pass;
}

Performance performRun(const Score& score, int unitMilliseconds)
{
    Performance performance{{}, 0};
    std::int64_t t = 0;
    std::map<int, bool> sounding; // value -> whether its last message was a note-on
    auto add = [&](const std::vector<PassNote>& notes) {
        for (const PassNote& n : notes) {
            performance.notes.push_back({t, n.on, n.value});
            sounding[n.value] = n.on;
        }
    };
    PassRules rules(score, 1, score.ColumnCount, unitMilliseconds);
    while (!rules.finished()) {
        const PassStart start = rules.startPass();
        add(start.notes);
        t += start.lengthMs;
        add(rules.endPass().notes);
    }
    for (const auto& [value, on] : sounding)
        if (on)
            performance.notes.push_back({t, false, value});
    performance.endMs = t;
    return performance;
}

} // namespace notivo
