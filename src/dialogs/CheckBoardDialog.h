#pragma once

#include "check/BoardCheck.h"

#include <QDialog>

#include <functional>
#include <vector>

class QTreeWidget;

namespace tavrin {

// The findings of "Check Board", grouped by kind under a heading with its count, one line per
// finding. Clicking a finding hands its index in findings to onPick (the window selects the
// strip it names); "Close" ends the dialog.
class CheckBoardDialog : public QDialog {
    Q_OBJECT
public:
    CheckBoardDialog(const std::vector<BoardFinding> &findings, QWidget *parent = nullptr);

    std::function<void(int index)> onPick;
    QTreeWidget *tree() const { return tree_; }

private:
    QTreeWidget *tree_ = nullptr;
};

} // namespace tavrin
