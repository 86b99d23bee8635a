#include "dialogs/CheckBoardDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace tavrin {

CheckBoardDialog::CheckBoardDialog(const QStringList &findings, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Check Board"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("%1 findings. Click one to select its strip.").arg(findings.size()), this));
    list_ = new QListWidget(this);
    list_->addItems(findings);
    list_->setMinimumSize(560, 240);
    layout->addWidget(list_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (onPick)
            onPick(list_->row(item));
    });
}

} // namespace tavrin
