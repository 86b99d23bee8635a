#include "app/QtPrompter.h"

#include "Version.h"
#include "app/DialogFolders.h"
#include "dialogs/CImageRotationSelectionDialog.h"
#include "dialogs/CSavingLayoutAndImageFilesDialog.h"
#include "dialogs/FontInstallPanel.h"
#include "fonts/FontInstallation.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace tavrin {

namespace {

QString DisplayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.remove(QLatin1Char('\r'));
    return text;
}

QMessageBox::StandardButton Ask(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::NoIcon, QLatin1String(version::kProductName), DisplayText(text), buttons, parent);
    box.setDefaultButton(defaultButton);
    // Paths and addresses in a message can be copied.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void QtPrompter::showMessage(const QString &text) { Ask(parent_, text, QMessageBox::Ok, QMessageBox::Ok); }

Answer QtPrompter::askOkCancel(const QString &text)
{
    return Ask(parent_, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok
        ? Answer::Ok
        : Answer::Cancel;
}

Answer QtPrompter::askYesNo(const QString &text)
{
    return Ask(parent_, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes
        ? Answer::Yes
        : Answer::No;
}

Answer QtPrompter::askYesNoCancel(const QString &text)
{
    switch (Ask(parent_, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString QtPrompter::askOpenFileName(const QString &title, const QString &folder, const QString &filter)
{
    const QString chosen = QFileDialog::getOpenFileName(parent_, title, DialogFolders::StartFolder(title, folder), filter);
    DialogFolders::Remember(title, chosen);
    return chosen;
}

QString QtPrompter::askSaveFileName(const QString &title, const QString &folder, const QString &proposedName,
                                    const QString &filter)
{
    const QString startFolder = DialogFolders::StartFolder(title, folder);
    const QString start = proposedName.isEmpty() ? startFolder : QDir(startFolder).filePath(proposedName);
    // An existing file of the chosen name is only replaced once the user has said so.
    const QString chosen = QFileDialog::getSaveFileName(parent_, title, start, filter);
    DialogFolders::Remember(title, chosen);
    return chosen;
}

Answer QtPrompter::askFontInstallation(const QString &title, const QString &fontFolder)
{
    FontInstallPanel panel(fontFolder, UserFontFolder(), parent_);
    panel.setWindowTitle(title);
    return panel.exec() == QDialog::Accepted ? Answer::Ok : Answer::Cancel;
}

// Owned by the window like every other question, so that they stay above it and carry no
// minimise or maximise buttons.
int QtPrompter::askTvRotation(int lastChoice) { return CImageRotationSelectionDialog::Ask(lastChoice, parent_); }

void QtPrompter::showSaveResult(const QString &text) { CSavingLayoutAndImageFilesDialog::ShowResult(text, parent_); }

} // namespace tavrin
