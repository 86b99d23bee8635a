#include "cli/CarriedFonts.h"

#include "cli/CliBoard.h"

#include "fonts/FontMatching.h"
#include "platform/DataFolders.h"
#include "platform/FolderCleanup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QSet>

#include <fontconfig/fontconfig.h>

namespace tavrin::cli {

namespace {

QString &CarriedFontsFolder()
{
    static QString folder;
    return folder;
}

// Files already registered, by name and size: a batch of layouts carrying the same font
// registers it once.
QSet<QString> &RegisteredFonts()
{
    static QSet<QString> registered;
    return registered;
}

// Makes fontconfig's configuration of this process and Qt's font database know the file.
void RegisterForThisProcess(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8 *>(encoded.constData()));
    // Faces of a collection file are drawn through Qt's database.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QFontDatabase::addApplicationFont(path);
}

} // namespace

void UseCarriedFonts(QString &missingFontsList, const QString &workingFolder, const QString &layoutPath)
{
    const QFileInfoList carried = QDir(workingFolder).entryInfoList(
        {QStringLiteral("*.ttf"), QStringLiteral("*.otf"), QStringLiteral("*.ttc")}, QDir::Files | QDir::NoSymLinks,
        QDir::Name | QDir::IgnoreCase);
    bool added = false;
    for (const QFileInfo &file : carried) {
        const QString key = file.fileName() + QLatin1Char('/') + QString::number(file.size());
        if (RegisteredFonts().contains(key))
            continue;
        // A copy of this process's own: the working folder goes with the layout, the registered
        // font must stay readable for the next layouts of a batch.
        QString &folder = CarriedFontsFolder();
        if (folder.isEmpty())
            folder = MakeFreshWorkingFolder(DataFolderPath());
        if (folder.isEmpty())
            break;
        // Under its own name (a save names the package's member after it), one folder per file.
        const QString copyFolder = folder + QLatin1Char('/') + QString::number(RegisteredFonts().size());
        const QString copy = copyFolder + QLatin1Char('/') + file.fileName();
        if (!QDir().mkpath(copyFolder) || !QFile::copy(file.filePath(), copy))
            continue;
        RegisterForThisProcess(copy);
        RegisteredFonts().insert(key);
        added = true;
    }
    if (added)
        ClearFontMatchCache();

    QString stillMissing;
    for (const QString &name : missingFontsList.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (IsFontInstalled(name))
            continue;
        stillMissing += name + QStringLiteral("\r\n");
        PrintLayoutFailure(layoutPath,
                           QStringLiteral("warning: the font \"%1\" is neither installed nor carried in the layout "
                                          "package; its texts are drawn with a stand-in")
                               .arg(name));
    }
    missingFontsList = stillMissing;
}

void RemoveCarriedFontsFolder()
{
    QString &folder = CarriedFontsFolder();
    if (!folder.isEmpty())
        RemoveOwnFolder(folder);
    folder.clear();
}

} // namespace tavrin::cli
