#include "layout/LayoutDocumentFile.h"

#include "layout/DocumentValues.h"
#include "layout/StripOperations.h"

#include <QFile>

namespace tavrin {

namespace {
// Far above any real document (a full grid with long texts is a few megabytes).
constexpr qint64 kMaxDocumentBytes = qint64(256) << 20;
} // namespace

std::optional<QString> ReadLayoutDocumentFile(const QString &documentPath)
{
    QFile file(documentPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxDocumentBytes)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return DocumentTextFromBytes(bytes);
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
