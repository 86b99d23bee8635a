#include "layout/LayoutPathRules.h"

#include "layout/PathText.h"

namespace tavrin {

namespace {

const QString kSupportFolderSuffix = QStringLiteral("_SupportFiles");

QString Joined(const QString &folder, const QString &name)
{
    return WithoutTrailingSeparators(folder) + u'/' + name;
}

// A name that stays inside the folder it is joined to.
bool IsPlainName(const QString &name) { return !name.isEmpty() && name != u"." && name != u".."; }

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
        if (!IsPlainName(fileName))
            return {};
        // "C:\Old\..\Lunch-MARBIXBGD.jpg" would lead above the picked folder: the background is
        // looked for in the layout's support folder instead.
        if (lastFolder == u"." || lastFolder == u"..")
            return AllThree(Joined(layoutFolder, baseName + kSupportFolderSuffix + u'/' + fileName));
        const QString folder = lastFolder.isEmpty() ? WithoutTrailingSeparators(pickedFolder)
                                                    : Joined(pickedFolder, lastFolder);
        return AllThree(Joined(folder, fileName));
    }

    // A bare name "Lunch-MARBIXBGD.jpg" names its support folder by the text before its last
    // "-". A name without "-" gives no hint, so the layout's own support folder is taken.
    if (!IsPlainName(b))
        return {};
    const qsizetype dash = b.lastIndexOf(u'-');
    const QString owner = dash >= 0 ? b.left(dash) : baseName;
    return AllThree(Joined(layoutFolder, owner + kSupportFolderSuffix + u'/' + b));
}

QString PackagePicturePath(const QString &workingFolder, const QString &subImageFileName)
{
    const QString name = FileNamePart(subImageFileName);
    return IsPlainName(name) ? Joined(workingFolder, name) : QString();
}

QString LegacyPicturePath(const QString &subImageFileName, const QString &layoutFolder, const QString &baseName)
{
    // Only the file name counts: whatever folders the stored path names (another computer's,
    // or "..\..\" ones that lead anywhere on this disk), a layout's pictures live in its
    // support folder, and nothing outside the layout's folders may end up in its next package.
    const QString name = FileNamePart(subImageFileName);
    return IsPlainName(name) ? Joined(layoutFolder, baseName + kSupportFolderSuffix + u'/' + name) : QString();
}

} // namespace tavrin
