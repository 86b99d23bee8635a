#include "document/BoardHistory.h"

namespace tavrin {

namespace {

QString WithoutCaretMarks(QString text)
{
    text.remove(QLatin1Char('~'));
    return text;
}

} // namespace

bool SameStripContent(const Strip &a, const Strip &b)
{
    if (a == b)
        return true;
    const QString &left = a.prices().Text, &right = b.prices().Text;
    if (!left.contains(QLatin1Char('~')) && !right.contains(QLatin1Char('~')))
        return false;
    Strip x = a, y = b;
    x.prices().Text = WithoutCaretMarks(left);
    y.prices().Text = WithoutCaretMarks(right);
    return x == y;
}

BoardHistory::BoardHistory() : recorded_(std::make_unique<MenuLayout>()) {}
BoardHistory::~BoardHistory() = default;

void BoardHistory::reset(const MenuLayout &board, const BoardFiles &files)
{
    steps_.clear();
    position_ = savedPosition_ = 0;
    mergeOpen_ = false;
    *recorded_ = board;
    recordedFiles_ = files;
}

std::optional<HistoryMove> BoardHistory::record(const MenuLayout &board, const BoardFiles &files,
                                                const ChangeInfo &info, qint64 nowMs)
{
    HistoryMove move;
    move.label = info.label;
    std::vector<StripChange> changed;
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            if (!SameStripContent(board.strips[c][r], recorded_->strips[c][r]))
                changed.push_back({c, r, recorded_->strips[c][r], board.strips[c][r]});
    move.gridChanged = board.NumberOfColumns != recorded_->NumberOfColumns || board.NumberOfRows != recorded_->NumberOfRows;
    move.filesChanged = files != recordedFiles_;
    if (changed.empty() && !move.gridChanged && !move.filesChanged)
        return std::nullopt;

    const bool lastStepOpen = position_ == int(steps_.size()) && position_ > 0 && position_ > savedPosition_;
    const bool sameAction = mergeOpen_ && !info.mergeKey.isEmpty() && steps_.back().mergeKey == info.mergeKey
                            && (info.mergeWithinMs < 0 || nowMs - steps_.back().lastChangeMs <= info.mergeWithinMs);
    const bool joins = lastStepOpen && (info.joinsLastStep || sameAction);
    if (!joins) {
        // A new step: what was undone before it can no longer be redone.
        if (savedPosition_ > position_)
            savedPosition_ = -1;
        steps_.resize(size_t(position_));
        HistoryStep step;
        step.label = info.label;
        step.mergeKey = info.mergeKey;
        step.columnsBefore = recorded_->NumberOfColumns;
        step.rowsBefore = recorded_->NumberOfRows;
        step.filesBefore = recordedFiles_;
        steps_.push_back(std::move(step));
        ++position_;
    }
    HistoryStep &step = steps_.back();
    step.lastChangeMs = nowMs;
    for (StripChange &change : changed) {
        move.cells.emplace_back(change.column, change.row);
        auto known = std::find_if(step.strips.begin(), step.strips.end(), [&](const StripChange &s) {
            return s.column == change.column && s.row == change.row;
        });
        if (known == step.strips.end())
            step.strips.push_back(change);
        else
            known->after = change.after;
        recorded_->strips[change.column][change.row] = change.after;
    }
    // A strip changed and changed back within the step is no part of it.
    std::erase_if(step.strips, [](const StripChange &s) { return s.before == s.after; });
    recorded_->NumberOfColumns = step.columnsAfter = board.NumberOfColumns;
    recorded_->NumberOfRows = step.rowsAfter = board.NumberOfRows;
    step.gridChanged = step.columnsBefore != step.columnsAfter || step.rowsBefore != step.rowsAfter;
    recordedFiles_ = step.filesAfter = files;
    step.filesChanged = step.filesBefore != step.filesAfter;
    if (step.strips.empty() && !step.gridChanged && !step.filesChanged) {
        steps_.pop_back();
        --position_;
    }
    mergeOpen_ = true;
    return move;
}

QString BoardHistory::undoLabel() const { return canUndo() ? steps_[size_t(position_ - 1)].label : QString(); }
QString BoardHistory::redoLabel() const { return canRedo() ? steps_[size_t(position_)].label : QString(); }

std::vector<std::pair<int, int>> BoardHistory::undoCells() const
{
    std::vector<std::pair<int, int>> cells;
    if (canUndo())
        for (const StripChange &change : steps_[size_t(position_ - 1)].strips)
            cells.emplace_back(change.column, change.row);
    return cells;
}

std::optional<HistoryMove> BoardHistory::undo(MenuLayout &board, BoardFiles &files)
{
    mergeOpen_ = false;
    if (!canUndo())
        return std::nullopt;
    const HistoryStep &step = steps_[size_t(--position_)];
    HistoryMove move;
    move.label = step.label;
    // Newest change first, so that a strip that moved through several cells ends where it began.
    for (auto change = step.strips.rbegin(); change != step.strips.rend(); ++change) {
        board.strips[change->column][change->row] = change->before;
        recorded_->strips[change->column][change->row] = change->before;
        move.cells.emplace_back(change->column, change->row);
    }
    if (step.gridChanged) {
        board.NumberOfColumns = recorded_->NumberOfColumns = step.columnsBefore;
        board.NumberOfRows = recorded_->NumberOfRows = step.rowsBefore;
        move.gridChanged = true;
    }
    if (step.filesChanged) {
        files = recordedFiles_ = step.filesBefore;
        move.filesChanged = true;
    }
    return move;
}

std::optional<HistoryMove> BoardHistory::redo(MenuLayout &board, BoardFiles &files)
{
    mergeOpen_ = false;
    if (!canRedo())
        return std::nullopt;
    const HistoryStep &step = steps_[size_t(position_++)];
    HistoryMove move;
    move.label = step.label;
    for (const StripChange &change : step.strips) {
        board.strips[change.column][change.row] = change.after;
        recorded_->strips[change.column][change.row] = change.after;
        move.cells.emplace_back(change.column, change.row);
    }
    if (step.gridChanged) {
        board.NumberOfColumns = recorded_->NumberOfColumns = step.columnsAfter;
        board.NumberOfRows = recorded_->NumberOfRows = step.rowsAfter;
        move.gridChanged = true;
    }
    if (step.filesChanged) {
        files = recordedFiles_ = step.filesAfter;
        move.filesChanged = true;
    }
    return move;
}

void BoardHistory::markSaved()
{
    savedPosition_ = position_;
    mergeOpen_ = false;
}

} // namespace tavrin
