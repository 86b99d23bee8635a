#include "app/DialogFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tavrin {

namespace {

QString SettingsKey(const QString &dialogTitle) { return QStringLiteral("dialogFolders/") + dialogTitle; }

// The folder a path names, or the folder of the file it names; empty when neither exists.
QString ExistingFolderOf(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (info.isDir())
        return QDir::cleanPath(info.absoluteFilePath());
    if (info.isFile())
        return QDir::cleanPath(info.absolutePath());
    return {};
}

bool IsProgramFolder(const QString &folder)
{
    return QFileInfo(folder).canonicalFilePath() == QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath();
}

} // namespace

QString DialogFolders::StartFolder(const QString &dialogTitle, const QString &askedFor)
{
    const QString asked = ExistingFolderOf(askedFor);
    if (!asked.isEmpty() && !IsProgramFolder(asked))
        return askedFor;
    const QString remembered = ExistingFolderOf(QSettings().value(SettingsKey(dialogTitle)).toString());
    if (!remembered.isEmpty() && !IsProgramFolder(remembered))
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void DialogFolders::Remember(const QString &dialogTitle, const QString &chosenFile)
{
    if (chosenFile.isEmpty())
        return;
    QSettings().setValue(SettingsKey(dialogTitle), QFileInfo(chosenFile).absolutePath());
}

} // namespace tavrin
