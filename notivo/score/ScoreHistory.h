#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "notivo/score/ScoreModel.h"

namespace notivo {

// Undo and redo of the score.  A step keeps only the columns that changed
// (before and after, each grid on its own), ColumnCount and the selection
// on both sides, so a one-note edit costs a hundred-odd bytes while New or
// Open of a long score costs what that score holds.  Nothing is kept
// across runs.
//
// Changes are recorded between begin() and end().  Calls nest: only the
// outermost pair makes a step, so a drag opened around several edits is one
// step.  A pair that changed nothing (a selection drag, a cancelled dialog)
// makes no step.
class ScoreHistory {
public:
    static constexpr std::size_t DefaultLimit = 1000;

    explicit ScoreHistory(std::size_t limit = DefaultLimit);
    ~ScoreHistory();
    ScoreHistory(const ScoreHistory&) = delete;
    ScoreHistory& operator=(const ScoreHistory&) = delete;

    void begin(const Score& score);
    void end(const Score& score);
    // Closes whatever is open now, however deep (an undo must see it).
    void finishOpen(const Score& score);
    bool isOpen() const { return depth_ > 0; }

    // The columns a step touched, for showing the change; 0 when it touched
    // no column (only ColumnCount).
    struct Applied {
        int firstColumn = 0;
        int lastColumn = 0;
    };
    // Puts the score back as it was before the last step (or after the last
    // undone one).  Nothing happens, and nothing is returned, when there is
    // no such step.
    std::optional<Applied> undo(Score& score);
    std::optional<Applied> redo(Score& score);

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    std::size_t undoCount() const { return done_.size(); }
    std::size_t redoCount() const { return undone_.size(); }
    std::size_t limit() const { return limit_; }

    // Memory the kept steps hold, in bytes (the open step's snapshot aside).
    std::size_t byteCount() const;

private:
    struct ColumnChange {
        std::uint16_t column = 0;
        bool accidentals = false; // which grid
        std::array<std::uint8_t, ScorePositions> before{};
        std::array<std::uint8_t, ScorePositions> after{};
    };
    struct Counters {
        int columnCount = 0;
        std::int16_t selectionStart = 0;
        std::int16_t selectionEnd = 0;
        bool operator==(const Counters&) const = default;
    };
    struct Step {
        std::vector<ColumnChange> columns;
        Counters before;
        Counters after;
    };
    struct Snapshot {
        ScoreGrid notes;
        ScoreGrid accidentals;
        Counters counters;
    };

    static Counters countersOf(const Score& score);
    static void apply(Score& score, const Step& step, bool forward);
    static Applied touched(const Step& step);
    // Undo or redo: the last step of `from` applied and moved onto `to`.
    std::optional<Applied> replay(Score& score, std::deque<Step>& from, std::deque<Step>& to, bool forward);
    void record(const Score& score);

    std::size_t limit_;
    int depth_ = 0;
    std::unique_ptr<Snapshot> open_; // the score as it was at the outermost begin()
    std::deque<Step> done_;
    std::deque<Step> undone_;
};

// Records the changes made while it lives, or until done().  A command of
// its own (a menu item, a key) first closes a step left open around it, so
// it is never folded into a drag.
class ScoreChange {
public:
    enum class Join { Open, Separate };
    ScoreChange(ScoreHistory& history, const Score& score, Join join = Join::Open)
        : history_(history), score_(score)
    {
        if (join == Join::Separate)
            history_.finishOpen(score_);
        history_.begin(score_);
    }
    ~ScoreChange() { done(); }
    ScoreChange(const ScoreChange&) = delete;
    ScoreChange& operator=(const ScoreChange&) = delete;

    void done()
    {
        if (open_)
            history_.end(score_);
        open_ = false;
    }

private:
    ScoreHistory& history_;
    const Score& score_;
    bool open_ = true;
};

} // namespace notivo
