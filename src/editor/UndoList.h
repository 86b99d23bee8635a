#pragma once

#include "layout/Strip.h"

#include <vector>

namespace tavrin {

// One step back: the strip at (column, row) as it was before a command changed it. A chained
// entry is undone together with the entry below it.
struct UndoEntry {
    int column = 0;
    int row = 0;
    int chained = 0; // 1: undoing this entry also undoes the one below it
    Strip snapshot;
    // Restored even where strips count as the same for undo: a style change may be exactly
    // one of the fields that comparison leaves out (the white-print hiding).
    bool exact = false;
};

// Whether two strips differ only where an undo would not notice: the white-print hiding of the
// picture and its two crop percentages.
bool SameStripForUndo(const Strip &a, const Strip &b);

// The editor's snapshots, oldest first, without an upper limit; not saved with the layout.
class UndoList {
public:
    void push(UndoEntry entry) { entries_.push_back(std::move(entry)); }
    void clear() { entries_.clear(); }
    int size() const { return int(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    // Index of the newest entry; -1 when the list is empty.
    int top() const { return int(entries_.size()) - 1; }
    const UndoEntry &newest() const { return entries_.back(); }
    UndoEntry &newest() { return entries_.back(); }
    UndoEntry takeNewest()
    {
        UndoEntry entry = std::move(entries_.back());
        entries_.pop_back();
        return entry;
    }
    const std::vector<UndoEntry> &entries() const { return entries_; }

private:
    std::vector<UndoEntry> entries_;
};

// What Undo took back, newest undo last, so that Redo can put it again. Each step holds the
// strips as they were just before that Undo, in the order the Undo restored them.
class RedoList {
public:
    using Step = std::vector<UndoEntry>;
    void push(Step step) { steps_.push_back(std::move(step)); }
    void clear() { steps_.clear(); }
    bool empty() const { return steps_.empty(); }
    Step takeNewest()
    {
        Step step = std::move(steps_.back());
        steps_.pop_back();
        return step;
    }

private:
    std::vector<Step> steps_;
};

} // namespace tavrin
