#include "layout/LayoutPathRules.h"

#include "layout/PathText.h"

namespace tavrin {

namespace {

const QString kSupportFolderSuffix = QStringLiteral("_SupportFiles");

QString Joined(const QString &folder, const QString &name)
{
    return WithoutTrailingSeparators(folder) + u'/' + name;
}

QString WithForwardSlashes(QString path)
{
    path.replace(u'\\', u'/');
    return path;
}

BackgroundPaths AllThree(const QString &path) { return BackgroundPaths{path, path, path}; }

} // namespace

BackgroundPaths PackageBackgroundPaths(const QString &workingFolder)
{
    return BackgroundPaths{QStringLiteral("Background.jpg"), QStringLiteral("Background.jpg"),
                           Joined(workingFolder, QStringLiteral("Background.jpg"))};
}

BackgroundPaths LegacyBackgroundPaths(const QString &backgroundFileName, const QString &pickedFolder,
                                      const QString &layoutFolder, const QString &baseName)
{
    const QString &b = backgroundFileName;
    if (b.isEmpty())
        return {};

    const qsizetype lastSeparator = LastSeparatorIndex(b);
    if (lastSeparator >= 0) {
        // The last folder of b: between the separator before the last one (or the start) and
        // the last one. A value like "\Lunch-MARBIXBGD.jpg" has none, and the file then sits
        // directly in the picked folder.
        const QStringView beforeLast = QStringView(b).left(lastSeparator);
        const QString lastFolder = beforeLast.mid(LastSeparatorIndex(beforeLast) + 1).toString();
        const QString fileName = b.mid(lastSeparator + 1);
        const QString folder = lastFolder.isEmpty() ? WithoutTrailingSeparators(pickedFolder)
                                                    : Joined(pickedFolder, lastFolder);
        return AllThree(Joined(folder, fileName));
    }

    // A bare name "Lunch-MARBIXBGD.jpg" names its support folder by the text before its last
    // "-". A name without "-" gives no hint, so the layout's own support folder is taken.
    const qsizetype dash = b.lastIndexOf(u'-');
    const QString owner = dash >= 0 ? b.left(dash) : baseName;
    return AllThree(Joined(layoutFolder, owner + kSupportFolderSuffix + u'/' + b));
}

QString PackagePicturePath(const QString &workingFolder, const QString &subImageFileName)
{
    return Joined(workingFolder, FileNamePart(subImageFileName));
}

QString LegacyPicturePath(const QString &subImageFileName, const QString &layoutFolder, const QString &baseName)
{
    const QString supportFolder = baseName + kSupportFolderSuffix;
    const qsizetype at = subImageFileName.indexOf(supportFolder);
    if (at >= 0)
        return Joined(layoutFolder, WithForwardSlashes(subImageFileName.mid(at)));
    // A picture that was not in the layout's support folder (the file was edited by hand or
    // the layout renamed): look for it in the support folder all the same, under its own name,
    // rather than at a path that cannot exist.
    return Joined(layoutFolder, supportFolder + u'/' + FileNamePart(subImageFileName));
}

} // namespace tavrin
