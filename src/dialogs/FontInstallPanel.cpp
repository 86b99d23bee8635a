#include "dialogs/FontInstallPanel.h"

#include "fonts/FontInstallation.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

const QString FontInstallPanel::kTitle =
    QStringLiteral("TO INSTALL MISSING FONT(S), Right Click on font File(s) and click INSTALL FOR ALL USERS");

FontInstallPanel::FontInstallPanel(const QString &fontFolder, const QString &userFontFolder, QWidget *parent)
    : QDialog(parent), fontFolder_(fontFolder), userFontFolder_(userFontFolder)
{
    setWindowTitle(kTitle);

    auto *folderLabel = new QLabel(QDir::toNativeSeparators(fontFolder), this);
    folderLabel->setTextFormat(Qt::PlainText);

    files_ = new QListWidget(this);
    files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    files_->setContextMenuPolicy(Qt::CustomContextMenu);
    files_->addItems(FontFilesInFolder(fontFolder));

    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);

    install_ = new QPushButton(QStringLiteral("Install"), this);
    done_ = new QPushButton(QStringLiteral("Done"), this);
    // Enter on a file chooses it, as in an open-file dialog; neither button takes Enter.
    install_->setAutoDefault(false);
    done_->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(install_);
    buttons->addWidget(done_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(folderLabel);
    layout->addWidget(files_);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    resize(720, 400);

    connect(install_, &QPushButton::clicked, this, &FontInstallPanel::installSelected);
    connect(done_, &QPushButton::clicked, this, &QDialog::reject);
    connect(files_, &QListWidget::itemActivated, this, &FontInstallPanel::chooseFile);
    connect(files_, &QListWidget::customContextMenuRequested, this, &FontInstallPanel::showContextMenu);
}

int FontInstallPanel::Run(const QString &fontFolder, QWidget *parent)
{
    FontInstallPanel panel(fontFolder, UserFontFolder(), parent);
    return panel.exec();
}

QStringList FontInstallPanel::listedFiles() const
{
    QStringList names;
    for (int row = 0; row < files_->count(); ++row)
        names.append(files_->item(row)->text());
    return names;
}

QString FontInstallPanel::statusText() const { return status_->text(); }

bool FontInstallPanel::installFile(const QString &fileName)
{
    QString error;
    const bool installed = InstallFontFile(QDir(fontFolder_).filePath(fileName), userFontFolder_, &error);
    status_->setText(installed ? QStringLiteral("Installed %1.").arg(fileName) : error);
    return installed;
}

void FontInstallPanel::installSelected()
{
    const QList<QListWidgetItem *> selected = files_->selectedItems();
    if (selected.isEmpty()) {
        status_->setText(QStringLiteral("Select the font files to install first."));
        return;
    }
    QStringList installed;
    QStringList failures;
    for (const QListWidgetItem *item : selected) {
        if (installFile(item->text()))
            installed.append(item->text());
        else
            failures.append(statusText());
    }
    QStringList report;
    if (!installed.isEmpty())
        report.append(QStringLiteral("Installed %1.").arg(installed.join(QStringLiteral(", "))));
    report.append(failures);
    status_->setText(report.join(QLatin1Char('\n')));
}

void FontInstallPanel::chooseFile(QListWidgetItem *item)
{
    if (!item)
        return;
    chosenFile_ = QDir(fontFolder_).filePath(item->text());
    accept();
}

void FontInstallPanel::showContextMenu(const QPoint &position)
{
    QListWidgetItem *item = files_->itemAt(position);
    if (!item)
        return;
    if (!item->isSelected()) {
        files_->clearSelection();
        item->setSelected(true);
    }
    QMenu menu(this);
    // The title speaks of installing for all users; the font goes into the user's own font folder,
    // which is what this action says.
    menu.addAction(QStringLiteral("Install"), this, &FontInstallPanel::installSelected);
    menu.exec(files_->viewport()->mapToGlobal(position));
}

} // namespace tavrin
