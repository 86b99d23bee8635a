#include "app/QtPrompter.h"

#include "Version.h"
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
    return QFileDialog::getOpenFileName(parent_, title, folder, filter);
}

QString QtPrompter::askSaveFileName(const QString &title, const QString &folder, const QString &proposedName,
                                    const QString &filter)
{
    const QString start = proposedName.isEmpty() ? folder : QDir(folder).filePath(proposedName);
    // An existing file of the chosen name is only replaced once the user has said so.
    return QFileDialog::getSaveFileName(parent_, title, start, filter);
}

Answer QtPrompter::askFontInstallation(const QString &title, const QString &fontFolder)
{
    FontInstallPanel panel(fontFolder, UserFontFolder(), parent_);
    panel.setWindowTitle(title);
    return panel.exec() == QDialog::Accepted ? Answer::Ok : Answer::Cancel;
}

int QtPrompter::askTvRotation(int lastChoice) { return CImageRotationSelectionDialog::Ask(lastChoice); }

void QtPrompter::showSaveResult(const QString &text) { CSavingLayoutAndImageFilesDialog::ShowResult(text); }

} // namespace tavrin
