#include "layout/LayoutDocumentFile.h"

#include "layout/DocumentValues.h"
#include "layout/StripOperations.h"

#include "platform/RegularFileReading.h"

namespace tavrin {

namespace {
// Far above any real document (a full grid with long texts is a few megabytes).
constexpr qint64 kMaxDocumentBytes = qint64(256) << 20;
} // namespace

std::optional<QString> ReadLayoutDocumentFile(const QString &documentPath)
{
    // A device or a pipe picked as a layout is refused at once instead of being read forever.
    const std::optional<QByteArray> bytes = ReadRegularFile(documentPath, kMaxDocumentBytes);
    if (!bytes)
        return std::nullopt;
    return DocumentTextFromBytes(*bytes);
}

bool DocumentGridFitsStore(const QString &documentText)
{
    const QString document = documentText.startsWith(u'?') ? UnscrambleText(documentText) : documentText;
    const int columns = ReadInteger(FindTagValue(document, u"<NumberOfColumns>"));
    const int rows = ReadInteger(FindTagValue(document, u"<NumberOfRows>"));
    return columns <= kMaxColumns && rows <= kMaxRows;
}

void LayoutPathResolver::resolveBackground(const QString &backgroundFileName)
{
    background_ = names_.isPackage
        ? PackageBackgroundPaths(workingFolder_)
        : LegacyBackgroundPaths(backgroundFileName, names_.pickedFolder, names_.layoutFolder, names_.baseName);
}

QString LayoutPathResolver::resolvePicture(const QString &subImageFileName)
{
    return names_.isPackage ? PackagePicturePath(workingFolder_, subImageFileName)
                            : LegacyPicturePath(subImageFileName, names_.layoutFolder, names_.baseName);
}

void LayoutPathResolver::checkFont(const QString &fontName, const QString &groupText)
{
    if (fontCheck)
        fontCheck(fontName, groupText);
}

} // namespace tavrin
