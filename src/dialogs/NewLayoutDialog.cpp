#include "dialogs/NewLayoutDialog.h"

#include "layout/MenuLayout.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace tavrin {

NewLayoutDialog::NewLayoutDialog(GridSize proposed, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("New Layout"));
    auto *form = new QFormLayout(this);
    columns_ = new QSpinBox(this);
    columns_->setRange(1, kMaxColumns);
    columns_->setValue(proposed.columns);
    rows_ = new QSpinBox(this);
    rows_->setRange(1, kMaxRows);
    rows_->setValue(proposed.rows);
    form->addRow(QStringLiteral("&Columns:"), columns_);
    form->addRow(QStringLiteral("&Rows:"), rows_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

GridSize NewLayoutDialog::gridSize() const { return {columns_->value(), rows_->value()}; }

std::optional<GridSize> NewLayoutDialog::Ask(GridSize proposed, QWidget *parent)
{
    NewLayoutDialog dialog(proposed, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.gridSize();
}

} // namespace tavrin
