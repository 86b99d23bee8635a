#include "layout/LayoutFileNames.h"

#include "layout/PathText.h"

namespace tavrin {

namespace {

QString TvNamesToPackageNames(QString text)
{
    text.replace(QLatin1String("_TV"), QLatin1String("_LAYOUT"));
    text.replace(QLatin1String(".jpg"), QLatin1String(".MARBIX"));
    return text;
}

} // namespace

QString MapTvImageToPackage(const QString &pickedPath)
{
    return pickedPath.contains(QLatin1String("_TV")) ? TvNamesToPackageNames(pickedPath) : pickedPath;
}

bool IsPackagePath(const QString &mappedPath)
{
    const qsizetype dot = mappedPath.lastIndexOf(QLatin1Char('.'));
    const QStringView extension = dot < 0 ? QStringView(mappedPath) : QStringView(mappedPath).mid(dot + 1);
    return extension == u"MARBIX";
}

LayoutFileNames NamesForPickedFile(const QString &mappedPath, const QString &workingFolder)
{
    LayoutFileNames names;
    names.isPackage = IsPackagePath(mappedPath);
    const qsizetype separator = LastSeparatorIndex(mappedPath);
    names.pickedFolder = mappedPath.left(separator + 1);
    names.layoutFolder = WithoutTrailingSeparators(names.pickedFolder);

    names.layoutName = TvNamesToPackageNames(FileNamePart(mappedPath));
    if (!names.isPackage) {
        names.legacyDocumentName = names.layoutName;
        names.layoutName.replace(QLatin1String("XMARBIX"), QLatin1String("jpg"));
        names.layoutName.remove(QLatin1String("MarbixLayout_"));
    }
    const qsizetype dot = names.layoutName.lastIndexOf(QLatin1Char('.'));
    names.baseName = dot < 0 ? names.layoutName : names.layoutName.left(dot);

    names.documentPath = names.isPackage ? workingFolder + QStringLiteral("/Layout.XMARBIX")
                                         : TvNamesToPackageNames(mappedPath);
    return names;
}

QString UnableToOpenFileMessage(const QString &path)
{
    return QStringLiteral("Unable to open file\r\n\r\n%1\r\n\r\nPress OK to continue.").arg(path);
}

} // namespace tavrin
