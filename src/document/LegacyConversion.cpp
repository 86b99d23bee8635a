// Converting an opened legacy layout (its document and support folder) into one package.
#include "document/BoardDocument.h"

#include "document/MessageTexts.h"
#include "images/Proxies.h"
#include "layout/LayoutFileOpening.h"
#include "layout/LayoutPackage.h"
#include "layout/PathText.h"
#include "platform/DataFolders.h"
#include "platform/FolderCleanup.h"

#include <QFile>
#include <QFileInfo>

namespace tavrin {

namespace {

// Whether a file the package was built from came back out of it as large as it was.
bool CameBack(const QString &source, const QString &unpackedCopy)
{
    const QFileInfo original(source);
    if (!original.isFile())
        return true; // missing before the conversion: the package could not carry it
    const QFileInfo copy(unpackedCopy);
    return copy.isFile() && copy.size() == original.size();
}

// The background comes back as "Background.jpg", every picture under its own file name.
bool PackageHoldsEveryFile(const QStringList &sources, const QString &unpackedFolder)
{
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QString copy = unpackedFolder + u'/' + (i == 0 ? QStringLiteral("Background.jpg") : FileNamePart(sources[i]));
        if (!CameBack(sources[i], copy))
            return false;
    }
    return true;
}

} // namespace

QString BoardDocument::convertedPackagePath() const
{
    if (!hasBoard() || names_.isPackage)
        return {};
    const QString oldDocument = names_.pickedFolder + names_.legacyDocumentName;
    // A document whose name gives no package name of its own (no ".XMARBIX" extension in any
    // case: a package with a lower-case extension read as a document) is never converted.
    const QString packageName = ConvertedPackageName(names_.legacyDocumentName);
    if (packageName.isEmpty())
        return {};
    const QString package = names_.pickedFolder + packageName;
    if (QString::compare(QFileInfo(package).absoluteFilePath(), QFileInfo(oldDocument).absoluteFilePath(),
                         Qt::CaseInsensitive)
        == 0)
        return {};
    // A file of the new name is the user's own (an earlier conversion, a package saved there):
    // the conversion never replaces it.
    if (QFileInfo(package).exists() || QFileInfo(package).isSymLink())
        return {};
    return package;
}

DocumentResult BoardDocument::convertLegacy()
{
    const QString package = convertedPackagePath();
    if (package.isEmpty()) {
        const QString named = names_.pickedFolder + ConvertedPackageName(names_.legacyDocumentName);
        return DocumentResult::failure(
            DocumentError::NotConvertible,
            names_.isPackage ? QStringLiteral("This is a layout package already; only a legacy layout document "
                                              "(.XMARBIX) and its support folder are converted.")
            : QFileInfo::exists(named) && !ConvertedPackageName(names_.legacyDocumentName).isEmpty()
                ? QStringLiteral("%1 is there already; it is never replaced.").arg(named)
                : QStringLiteral("This layout document has no package name of its own."),
            named);
    }
    const QString oldDocument = names_.pickedFolder + names_.legacyDocumentName;

    // The drawing gathers the layout's font files into the working folder for the package.
    renderForOutput(true);
    // The files the package is built from, as the strips and the background name them now; the
    // background first.
    QStringList sources{files_.backgroundImagePath};
    layout_->forEachBoardStrip([&](int, int, const Strip &strip) {
        if (!strip.Picture.SubImageFileName.isEmpty())
            sources << strip.Picture.SubImageFileName;
    });

    const DocumentResult failed = DocumentResult::failure(DocumentError::WriteFailed, kSaveFailureText, package);
    if (!PutLayoutPackageInPlace(package, {*layout_, false, files_.backgroundImagePath, fontList_, workingFolder_}))
        return failed; // nothing was written: the legacy files stay, and so does the legacy layout

    // The package is read back before anything of the old layout goes: it must open, and it
    // must hold every file it was built from.
    const QString fresh = MakeFreshWorkingFolder(!dataFolder_.isEmpty() ? dataFolder_
                                                                        : QFileInfo(workingFolder_).absolutePath());
    LayoutFileContents contents;
    if (fresh.isEmpty() || !LoadLayoutFileContents(package, fresh, contents).isEmpty()
        || !PackageHoldsEveryFile(sources, fresh)) {
        RemoveOwnFolder(fresh);
        QFile::remove(package); // made just now, where no file was
        return failed;
    }

    // Only the layout's own support folder, directly inside the layout folder, is cleared, and
    // only of the plain files that went into the package (with the proxies made for them);
    // subfolders and anything else the user keeps there stay, and so does the folder then.
    const QString supportFolder = names_.layoutFolder + u'/' + names_.baseName + QStringLiteral("_SupportFiles");
    QStringList supportFiles;
    for (const QString &source : sources) {
        if (WithoutTrailingSeparators(source.left(LastSeparatorIndex(source) + 1)) != supportFolder)
            continue;
        supportFiles << FileNamePart(source);
        const QString proxy = PictureProxyPath(source);
        if (!proxy.isEmpty())
            supportFiles << FileNamePart(proxy) << FileNamePart(proxy).replace(QLatin1String("_Proxy"),
                                                                                QLatin1String("_PROXY"));
    }
    DocumentResult result;
    result.file = package;
    const QString notice = RemoveOldNamePackage(package);
    if (!notice.isEmpty())
        result.notices << notice;
    RemovePlainFilesIn(supportFolder, supportFiles);
    if (QFileInfo(oldDocument).isFile() && !QFileInfo(oldDocument).isSymLink())
        QFile::remove(oldDocument);

    // The open layout is now the package, its files in the folder it was read back into.
    const QString packageName = FileNamePart(package);
    names_.isPackage = true;
    // The title shows the package's name, and the save dialog proposes it again.
    names_.layoutName = packageName;
    switchWorkingFolder(fresh);
    files_.backgroundName = package;
    files_.backgroundImagePath = workingFolder_ + QStringLiteral("/Background.jpg");
    layout_->forEachBoardStrip([&](int, int, Strip &strip) {
        QString &picture = strip.Picture.SubImageFileName;
        if (!picture.isEmpty())
            picture = workingFolder_ + QLatin1Char('/') + FileNamePart(picture);
    });
    fontGathering_ = false;
    // The package holds the board as it is: that is its saved state.
    history_.reset(*layout_, files_);
    notify({{}, false, true});
    return result;
}

} // namespace tavrin
