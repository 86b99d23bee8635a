#pragma once

#include "layout/MenuLayout.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace tavrin {

// The board's files beside its strips, as far as undo and redo bring them back.
struct BoardFiles {
    QString backgroundName;       // empty: no board
    QString backgroundImagePath;  // the full-resolution background in use
    QString layoutBackgroundPath; // the background as the layout file named it
    bool operator==(const BoardFiles &) const = default;
};

// What a change tells the history about itself.
struct ChangeInfo {
    QString label;           // what Undo names: "Typing", "Move Strip"
    QString mergeKey;        // empty: the change is a step of its own
    qint64 mergeWithinMs = 0; // a change joins the last step of the same key that came this soon; < 0: however late
    // Part of the last step whatever its key (a tidying that follows an edit), unless that step
    // is already saved or undone.
    bool joinsLastStep = false;
};

// A strip as it was before a step and after it.
struct StripChange {
    int column = 0;
    int row = 0;
    Strip before;
    Strip after;
};

// One step of the history: everything one action changed.
struct HistoryStep {
    QString label;
    QString mergeKey;
    qint64 lastChangeMs = 0;
    std::vector<StripChange> strips;
    bool gridChanged = false;
    int columnsBefore = 0, rowsBefore = 0, columnsAfter = 0, rowsAfter = 0;
    bool filesChanged = false;
    BoardFiles filesBefore, filesAfter;
};

// Where a step that was recorded, undone or redone changed the board.
struct HistoryMove {
    std::vector<std::pair<int, int>> cells; // (column, row) of every strip it changed
    bool gridChanged = false;
    bool filesChanged = false;
    QString label;
};

// Undo and redo of the board, action by action. The history keeps a copy of the board as it
// last recorded it; after a change it compares the board with that copy, so every change is
// caught, however it was made, and a change that leaves the board as it was is no step at all.
// The caret marks ("~") of the prices texts are no part of the board for the history.
// Nothing it does grows with the number of steps except the memory of the changed strips.
class BoardHistory {
public:
    BoardHistory();
    ~BoardHistory();

    // The board as it is now is the start of the history and its saved point.
    void reset(const MenuLayout &board, const BoardFiles &files);

    // Records what differs from the last recorded board as one step, or as part of the last step
    // when info's key and time say so. Nothing when nothing differs.
    std::optional<HistoryMove> record(const MenuLayout &board, const BoardFiles &files, const ChangeInfo &info,
                                      qint64 nowMs);

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < int(steps_.size()); }
    // The label of the step Undo (Redo) would take back (put again); empty when there is none.
    QString undoLabel() const;
    QString redoLabel() const;

    // The cells of the strips the next Undo would change.
    std::vector<std::pair<int, int>> undoCells() const;

    // Takes the newest step back (puts the next one again) in board and files.
    std::optional<HistoryMove> undo(MenuLayout &board, BoardFiles &files);
    std::optional<HistoryMove> redo(MenuLayout &board, BoardFiles &files);

    // The board as recorded now is what its file holds.
    void markSaved();
    // Whether the board as recorded is the one that was last opened or saved.
    bool atSavedPoint() const { return position_ == savedPosition_; }
    // The next change starts a step of its own, whatever its key.
    void endMerging() { mergeOpen_ = false; }

    int stepCount() const { return int(steps_.size()); }
    int position() const { return position_; }

private:
    std::vector<HistoryStep> steps_;
    int position_ = 0;      // steps below this are done
    int savedPosition_ = 0; // -1 when the saved board can no longer be reached
    bool mergeOpen_ = false;
    std::unique_ptr<MenuLayout> recorded_; // the board as the history last saw it
    BoardFiles recordedFiles_;
};

// Whether two strips are the same board content: every field, the caret mark aside.
bool SameStripContent(const Strip &a, const Strip &b);

} // namespace tavrin
