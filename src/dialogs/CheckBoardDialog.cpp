#include "dialogs/CheckBoardDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tavrin {

CheckBoardDialog::CheckBoardDialog(const std::vector<BoardFinding> &findings, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Check Board"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("%1. Click one to select its strip.").arg(FindingsSummary(findings)), this));
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setMinimumSize(560, 240);
    for (FindingKind kind : FindingKindsInOrder()) {
        QTreeWidgetItem *group = nullptr;
        for (size_t i = 0; i < findings.size(); ++i) {
            if (findings[i].kind != kind)
                continue;
            if (!group) {
                group = new QTreeWidgetItem(tree_);
                group->setFlags(Qt::ItemIsEnabled);
            }
            auto *item = new QTreeWidgetItem(group, QStringList{findings[i].text()});
            item->setData(0, Qt::UserRole, int(i));
        }
        if (group) {
            group->setText(0, QStringLiteral("%1 (%2)").arg(FindingKindHeading(kind)).arg(group->childCount()));
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
            group->setExpanded(true);
        }
    }
    layout->addWidget(tree_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        const QVariant index = item->data(0, Qt::UserRole);
        if (onPick && index.isValid())
            onPick(index.toInt());
    });
}

} // namespace tavrin
