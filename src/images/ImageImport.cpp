#include "images/ImageImport.h"

#include "images/GifWriter.h"
#include "images/ImageDecoding.h"
#include "images/Proxies.h"
#include "layout/PathText.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTransform>

namespace tavrin {

namespace {

// True when the file-name part of path holds text after its first character. Only the file
// name counts: a folder called "photos.jpg" must not make any file in it a picture.
bool NameContains(const QString &path, QLatin1StringView text)
{
    return FileNamePart(path).indexOf(text) > 0;
}

QImage Turned(const QImage &image, int degrees) { return image.transformed(QTransform().rotate(degrees)); }

constexpr int kDotsPerMetreAt96Dpi = 3780; // 96 / 0.0254, as whole dots per metre

} // namespace

PictureKind PictureKindOf(const QString &path)
{
    if (NameContains(path, QLatin1StringView(".jpg")))
        return PictureKind::Jpeg;
    if (NameContains(path, QLatin1StringView(".png")))
        return PictureKind::Png;
    if (NameContains(path, QLatin1StringView(".gif")))
        return PictureKind::Gif;
    return PictureKind::Jpeg;
}

const char *MimeTypeOf(PictureKind kind)
{
    switch (kind) {
    case PictureKind::Png: return "image/png";
    case PictureKind::Gif: return "image/gif";
    case PictureKind::Jpeg: break;
    }
    return "image/jpeg";
}

std::optional<ImageEncoder> FindEncoder(const QString &mimeType)
{
    // Qt reads GIF but cannot write it; giflib is always linked in.
    if (mimeType == QLatin1String("image/gif"))
        return ImageEncoder{{}, true};
    const QByteArray mime = mimeType.toLatin1();
    if (!QImageWriter::supportedMimeTypes().contains(mime))
        return std::nullopt;
    const QList<QByteArray> formats = QImageWriter::imageFormatsForMimeType(mime);
    if (formats.isEmpty())
        return std::nullopt;
    return ImageEncoder{formats.first(), false};
}

bool WriteImageFile(const QImage &image, const QString &path, const QString &mimeType, int jpegQuality)
{
    if (image.isNull())
        return false;
    const std::optional<ImageEncoder> encoder = FindEncoder(mimeType);
    if (!encoder)
        return false;
    QByteArray bytes;
    if (encoder->gif) {
        std::optional<QByteArray> gif = EncodeGif(image);
        if (!gif)
            return false;
        bytes = std::move(*gif);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, encoder->qtFormat);
        const bool jpeg = mimeType == QLatin1String("image/jpeg");
        if (jpeg)
            writer.setQuality(jpegQuality);
        // JPEG has no alpha: transparent pixels go onto black, as an opaque copy shows them.
        const QImage written = jpeg && image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
        if (!writer.write(written))
            return false;
    }
    return WriteFileReplacing(path, bytes);
}

bool WritePictureFile(const QImage &image, const QString &path, PictureKind kind, int jpegQuality)
{
    return WriteImageFile(image, path, QString::fromLatin1(MimeTypeOf(kind)), jpegQuality);
}

bool CopyFileWithoutReplacing(const QString &source, const QString &target)
{
    // QFile::copy refuses an existing target and writes through a temporary file.
    if (QFileInfo(target).exists() || QFileInfo(target).isSymLink())
        return false;
    return QFile::copy(source, target);
}

bool CorrectOrientation(QImage &image, int exifOrientation)
{
    switch (exifOrientation) {
    case 2: image = image.mirrored(true, false); break;         // mirror left to right
    case 3: image = Turned(image, 180); break;
    case 4: image = image.mirrored(false, true); break;         // 180 degrees and mirrored
    case 5: image = Turned(image, 90).mirrored(true, false); break;
    case 6: image = Turned(image, 90); break;
    case 7: image = Turned(image, 270).mirrored(true, false); break;
    case 8: image = Turned(image, 270); break;
    default: return false;
    }
    return true;
}

QImage ReducedCopy(const QImage &image, int limit)
{
    if (image.isNull() || limit <= 0)
        return {};
    const qint64 width = image.width(), height = image.height();
    const qint64 larger = qMax(width, height);
    // Whole-number arithmetic: the longer side becomes exactly limit and the shorter one the
    // integer part of its exact share, never one pixel less through a rounded factor.
    const int newWidth = int(qMax<qint64>(1, width * limit / larger));
    const int newHeight = int(qMax<qint64>(1, height * limit / larger));
    QImage reduced = image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                         .scaled(newWidth, newHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_ARGB32);
    reduced.setDotsPerMeterX(kDotsPerMetreAt96Dpi);
    reduced.setDotsPerMeterY(kDotsPerMetreAt96Dpi);
    return reduced;
}

bool ReducePictureInPlace(const QString &path, int limit)
{
    const DecodedImage decoded = DecodeImageFile(path);
    if (decoded.isNull())
        return false;
    const QImage reduced = ReducedCopy(decoded.image, limit);
    // The reduced file replaces the old one in one step rather than after deleting it, so a
    // failed write never loses the picture.
    return WritePictureFile(reduced, path, PictureKindOf(path), kPictureJpegQuality);
}

QString ImportedPictureName(const QString &sourcePath)
{
    static const char *const kAccepted[] = {".jpg", ".png", ".gif", ".JPG", ".jpeg", ".JPEG"};
    bool accepted = false;
    for (const char *extension : kAccepted)
        accepted = accepted || NameContains(sourcePath, QLatin1StringView(extension));
    if (!accepted)
        return {};
    QString name = FileNamePart(sourcePath);
    for (const char *extension : {".JPG", ".jpeg", ".JPEG"}) {
        if (name.contains(QLatin1StringView(extension))) {
            name.replace(QLatin1StringView(extension), QLatin1StringView(".jpg"));
            break;
        }
    }
    return name;
}

QString FreePicturePath(const QString &folder, const QString &name)
{
    QString path = folder + QLatin1Char('/') + name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    const auto taken = [](const QString &candidate) {
        const QString proxy = PictureProxyPath(candidate);
        return QFileInfo(candidate).exists() || QFileInfo(candidate).isSymLink()
               || (!proxy.isEmpty() && QFileInfo(proxy).exists());
    };
    for (int n = 1; taken(path); ++n)
        path.insert(path.size() - extension.size(), QStringLiteral("(%1)").arg(n));
    return path;
}

QString LowResolutionMessage(int width, int height)
{
    return QStringLiteral("This %1 x %2 pixel image is low resolution and may result in the picture not being crisp.")
        .arg(width)
        .arg(height);
}

QString PictureNotCopiedMessage(const QString &sourcePath)
{
    return QStringLiteral("The picture %1 could not be copied into the layout's working folder (the file cannot be "
                          "read, or the disk is full).\n\nThe strip keeps its picture.")
        .arg(FileNamePart(sourcePath));
}

std::optional<ImportedPicture> ImportPictureFile(const QString &sourcePath, const QString &workingFolder,
                                                 Prompter &prompter)
{
    const QString name = ImportedPictureName(sourcePath);
    if (name.isEmpty())
        return std::nullopt;
    ImportedPicture imported;
    imported.path = FreePicturePath(workingFolder, name);

    DecodedImage decoded = DecodeImageFile(sourcePath);
    const bool stored =
        !decoded.isNull() && CorrectOrientation(decoded.image, ExifOrientation(decoded.transformation))
            ? WritePictureFile(decoded.image, imported.path, PictureKindOf(imported.path), kPictureJpegQuality)
            : CopyFileWithoutReplacing(sourcePath, imported.path);
    // A strip must never point at a file that is not there: the next save would report success
    // and pack nothing for it. The user hears of it and the strip keeps what it showed.
    if (!stored) {
        prompter.showMessage(PictureNotCopiedMessage(sourcePath));
        return std::nullopt;
    }

    // The stored file holds the decoded picture as turned upright, so its size is known without
    // decoding it again; an undecodable picture counts as 0 x 0.
    const QFileInfo storedFile(imported.path);
    if (!decoded.isNull())
        imported.size = decoded.image.size();
    const int width = imported.size.width(), height = imported.size.height();

    if ((width > kImportReductionLimit || height > kImportReductionLimit)
        && NameContains(imported.path, QLatin1StringView(".jpg")) && storedFile.size() > kImportReductionFileSize)
        ReducePictureInPlace(imported.path, kImportReductionLimit);

    if (width > 0 && height > 0 && width < kLowResolutionLimit && height < kLowResolutionLimit)
        prompter.showMessage(LowResolutionMessage(width, height));
    return imported;
}

} // namespace tavrin
