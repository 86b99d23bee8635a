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

// The TV image names are mapped in the file-name part only: a folder such as "Store_TV" or
// "photos.jpg" above the layout is where the user keeps it, not part of its name.
QString TvPathToPackagePath(const QString &path)
{
    const qsizetype nameStart = LastSeparatorIndex(path) + 1;
    return path.left(nameStart) + TvNamesToPackageNames(path.mid(nameStart));
}

} // namespace

QString MapTvImageToPackage(const QString &pickedPath)
{
    return FileNamePart(pickedPath).contains(QLatin1String("_TV")) ? TvPathToPackagePath(pickedPath) : pickedPath;
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
                                         : TvPathToPackagePath(mappedPath);
    return names;
}

QString ConvertedPackageName(const QString &legacyDocumentName)
{
    static const QLatin1String kLegacyExtension(".XMARBIX");
    const QString name = FileNamePart(legacyDocumentName);
    if (!name.endsWith(kLegacyExtension, Qt::CaseInsensitive))
        return {};
    QString stem = name.chopped(kLegacyExtension.size());
    stem.remove(QLatin1String("MarbixLayout_"), Qt::CaseInsensitive);
    if (stem.isEmpty())
        return {};
    return stem + QStringLiteral("_LAYOUT.MARBIX");
}

QString UnableToOpenFileMessage(const QString &path)
{
    return QStringLiteral("Unable to open file\r\n\r\n%1\r\n\r\nPress OK to continue.").arg(path);
}

QString NotALayoutPackageMessage(const QString &packagePath)
{
    return QStringLiteral("Unable to open file\r\n\r\n%1\r\n\r\nIt is not a layout package or is damaged.\r\n\r\n"
                          "Press OK to continue.")
        .arg(packagePath);
}

} // namespace tavrin
