#include "notivo/score/ScoreHistory.h"

#include <algorithm>
#include <cstring>

namespace notivo {

ScoreHistory::ScoreHistory(std::size_t limit) : limit_(std::max<std::size_t>(limit, 1)) {}

ScoreHistory::~ScoreHistory() = default;

ScoreHistory::Counters ScoreHistory::countersOf(const Score& score)
{
    return {score.ColumnCount, score.SelectionStart, score.SelectionEnd};
}

void ScoreHistory::begin(const Score& score)
{
    if (depth_++ > 0)
        return;
    if (!open_)
        open_ = std::make_unique<Snapshot>();
    open_->notes = score.ScoreNotes;
    open_->accidentals = score.ScoreAccidentals;
    open_->counters = countersOf(score);
}

void ScoreHistory::end(const Score& score)
{
    if (depth_ == 0)
        return; // already closed by finishOpen
    if (--depth_ == 0)
        record(score);
}

void ScoreHistory::finishOpen(const Score& score)
{
    if (depth_ == 0)
        return;
    depth_ = 0;
    record(score);
}

void ScoreHistory::record(const Score& score)
{
    Step step;
    step.before = open_->counters;
    step.after = countersOf(score);
    const auto diff = [&step](const ScoreGrid& before, const ScoreGrid& after, bool accidentals) {
        for (int c = 1; c <= ScoreColumns; ++c) {
            if (std::memcmp(before.column(c), after.column(c), ScorePositions) == 0)
                continue;
            ColumnChange change;
            change.column = static_cast<std::uint16_t>(c);
            change.accidentals = accidentals;
            std::memcpy(change.before.data(), before.column(c), ScorePositions);
            std::memcpy(change.after.data(), after.column(c), ScorePositions);
            step.columns.push_back(change);
        }
    };
    diff(open_->notes, score.ScoreNotes, false);
    diff(open_->accidentals, score.ScoreAccidentals, true);
    // A selection alone is no change of the score.
    if (step.columns.empty() && step.before.columnCount == step.after.columnCount)
        return;
    step.columns.shrink_to_fit();
    undone_.clear();
    done_.push_back(std::move(step));
    while (done_.size() > limit_)
        done_.pop_front();
}

void ScoreHistory::apply(Score& score, const Step& step, bool forward)
{
    for (const ColumnChange& change : step.columns) {
        ScoreGrid& grid = change.accidentals ? score.ScoreAccidentals : score.ScoreNotes;
        const auto& cells = forward ? change.after : change.before;
        std::memcpy(grid.column(change.column), cells.data(), ScorePositions);
    }
    const Counters& counters = forward ? step.after : step.before;
    score.ColumnCount = counters.columnCount;
    score.SelectionStart = counters.selectionStart;
    score.SelectionEnd = counters.selectionEnd;
}

ScoreHistory::Applied ScoreHistory::touched(const Step& step)
{
    Applied applied;
    for (const ColumnChange& change : step.columns) {
        if (applied.firstColumn == 0 || change.column < applied.firstColumn)
            applied.firstColumn = change.column;
        applied.lastColumn = std::max<int>(applied.lastColumn, change.column);
    }
    return applied;
}

std::optional<ScoreHistory::Applied> ScoreHistory::undo(Score& score) { return replay(score, done_, undone_, false); }

std::optional<ScoreHistory::Applied> ScoreHistory::redo(Score& score) { return replay(score, undone_, done_, true); }

std::optional<ScoreHistory::Applied> ScoreHistory::replay(Score& score, std::deque<Step>& from, std::deque<Step>& to,
                                                          bool forward)
{
    finishOpen(score);
    if (from.empty())
        return std::nullopt;
    Step step = std::move(from.back());
    from.pop_back();
    apply(score, step, forward);
    const Applied applied = touched(step);
    to.push_back(std::move(step));
    return applied;
}

std::size_t ScoreHistory::byteCount() const
{
    std::size_t bytes = sizeof(*this) + (open_ ? sizeof(Snapshot) : 0);
    const auto stepBytes = [](const Step& step) { return sizeof(Step) + step.columns.capacity() * sizeof(ColumnChange); };
    for (const Step& step : done_)
        bytes += stepBytes(step);
    for (const Step& step : undone_)
        bytes += stepBytes(step);
    return bytes;
}

} // namespace notivo
