#pragma once

#include "platform/Prompter.h"

#include <QDialog>

#include <optional>

class QSpinBox;

namespace tavrin {

// Asks the number of columns (1-9) and rows (1-201) of a new board.
class NewLayoutDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewLayoutDialog(GridSize proposed, QWidget *parent = nullptr);

    // Runs the dialog modally; nothing when it was cancelled.
    static std::optional<GridSize> Ask(GridSize proposed, QWidget *parent = nullptr);

    GridSize gridSize() const;
    QSpinBox *columnsBox() const { return columns_; }
    QSpinBox *rowsBox() const { return rows_; }

private:
    QSpinBox *columns_;
    QSpinBox *rows_;
};

} // namespace tavrin
