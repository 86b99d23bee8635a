#include "document/SaveOutput.h"

#include "images/TvImageOutput.h"
#include "layout/PathText.h"
#include "platform/SafeFile.h"

#include <QFile>

#include <cerrno>

namespace tavrin {

namespace {

const QString kMarbix = QStringLiteral(".MARBIX");
const QString kJpg = QStringLiteral(".jpg");

QString WithoutLayoutMarks(QString name)
{
    name.remove(QLatin1String("_WHITE_PRINT_BGND"));
    name.remove(QLatin1String("_LAYOUT"));
    return name;
}

QString PackageSuffix(bool whitePrint)
{
    return whitePrint ? QStringLiteral("_LAYOUT_WHITE_PRINT_BGND.MARBIX") : QStringLiteral("_LAYOUT.MARBIX");
}

// Splits path into its folder with the final separator, and its file name.
std::pair<QString, QString> SplitPath(const QString &path)
{
    const qsizetype cut = LastSeparatorIndex(path) + 1;
    return {path.left(cut), path.mid(cut)};
}

} // namespace

QString ProposedSaveName(const QString &layoutName, bool whitePrint)
{
    return WithoutLayoutMarks(layoutName).replace(kMarbix, PackageSuffix(whitePrint));
}

QString PackagePathForChosenName(const QString &chosenPath, bool whitePrint)
{
    auto [folder, name] = SplitPath(chosenPath);
    // Endings typed in another case mean the same type; a name with any other ending (or none)
    // becomes a package name, so that the TV image and the package can never share one name.
    if (name.endsWith(kMarbix, Qt::CaseInsensitive))
        name = name.chopped(kMarbix.size()) + kMarbix;
    else if (name.endsWith(kJpg, Qt::CaseInsensitive))
        name = name.chopped(kJpg.size()) + kJpg;
    else
        name += kMarbix;
    name = WithoutLayoutMarks(name);
    if (name.endsWith(kMarbix))
        name = name.chopped(kMarbix.size()) + PackageSuffix(whitePrint);
    return folder + name;
}

QString TvImagePathBeside(const QString &packagePath, bool whitePrint)
{
    const auto [folder, name] = SplitPath(packagePath);
    return folder + TvImagePathForPackage(name, whitePrint);
}

QString PackagePathToWrite(const QString &chosenPackagePath)
{
    if (chosenPackagePath.endsWith(kJpg))
        return chosenPackagePath.chopped(kJpg.size()) + kMarbix;
    return chosenPackagePath;
}

QString SaveConfirmationText(const QString &packageFileName, const QString &tvImageFileName, const QString &folder,
                             bool removable)
{
    QString text = removable ? QStringLiteral("\n") : QStringLiteral("\n\n");
    text += QStringLiteral("FILE SAVED CONFIRMATION!\n\n");
    text += QStringLiteral("The Marbix layout file:\n") + packageFileName + QStringLiteral("\n\n");
    text += QStringLiteral("and its associated TV display file:\r\n") + tvImageFileName + QStringLiteral("\n\n");
    text += QStringLiteral("have been saved in directory:\n") + folder;
    if (removable)
        text += QStringLiteral("\n\n(It is now OK to unplug the USB Flash Drive)");
    return text;
}

QString TvImageOutputPath(const TvImageJob &job)
{
    if (job.printing)
        return job.dataFolder + QStringLiteral("/print.jpg");
    return TvImagePathBeside(job.packagePath, job.whitePrint);
}

QByteArray TvImageBytes(const TvImageJob &job)
{
    if (job.board.isNull())
        return {};
    QImage image = job.board;
    // Only a portrait board is turned, and only for the television.
    if (!job.printing && image.width() < image.height())
        image = RotateForTv(image, job.rotation);
    return EncodeTvImage(image, TvImageFormatFor(job.backgroundName));
}

QString WriteTvImageFile(const TvImageJob &job)
{
    const QString target = TvImageOutputPath(job);
    const QByteArray bytes = TvImageBytes(job);
    return !bytes.isEmpty() && WriteFileReplacing(target, bytes) ? target : QString();
}

namespace {

SavedLayoutFiles Failed(const QString &path, int errorNumber, qint64 bytesNeeded)
{
    SavedLayoutFiles saved;
    saved.failure = DiagnoseWriteFailure(path, errorNumber, bytesNeeded);
    return saved;
}

} // namespace

SavedLayoutFiles WriteLayoutAndTvImage(const TvImageJob &tvImage, const PackageSources &sources)
{
    const QString tvImagePath = TvImageOutputPath(tvImage);
    const QString packagePath = PackagePathToWrite(tvImage.packagePath);
    // A read-only file, a folder or a link in the way of either file stops the save before
    // anything is written.
    for (const QString &target : {tvImagePath, packagePath})
        if (!MayReplaceFile(target))
            return Failed(target, errno, 0);

    // Both files are made complete under temporary names first; only then are both moved into
    // place together, so that a failure on either leaves both old files as they were.
    const QByteArray imageBytes = TvImageBytes(tvImage);
    if (imageBytes.isEmpty()) {
        SavedLayoutFiles saved;
        saved.failure = {WriteFailureKind::Other, tvImagePath, QStringLiteral("the board could not be drawn")};
        return saved;
    }
    const QString pendingImage = CreateTemporaryBeside(tvImagePath);
    if (pendingImage.isEmpty())
        return Failed(tvImagePath, errno, imageBytes.size());
    if (!WriteTemporaryFile(pendingImage, imageBytes) || !TakePermissionsOf(tvImagePath, pendingImage)) {
        const int error = errno;
        QFile::remove(pendingImage);
        return Failed(tvImagePath, error, imageBytes.size());
    }
    const QString pendingPackage = BuildLayoutPackage(packagePath, sources);
    if (pendingPackage.isEmpty() || !TakePermissionsOf(packagePath, pendingPackage)) {
        const int error = errno;
        QFile::remove(pendingImage);
        if (!pendingPackage.isEmpty())
            QFile::remove(pendingPackage);
        return Failed(packagePath, error, imageBytes.size());
    }
    if (!ReplaceAllOrNone({{pendingPackage, packagePath}, {pendingImage, tvImagePath}}))
        return Failed(packagePath, errno, 0);
    SavedLayoutFiles saved;
    saved.notice = RemoveOldNamePackage(packagePath);
    saved.packagePath = packagePath;
    saved.tvImagePath = tvImagePath;
    saved.ok = true;
    return saved;
}

} // namespace tavrin
