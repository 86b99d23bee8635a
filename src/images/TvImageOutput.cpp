#include "images/TvImageOutput.h"

#include "platform/SafeFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTransform>

namespace tavrin {

TvImageFormat TvImageFormatFor(const QString &backgroundName)
{
    const qsizetype dot = backgroundName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? backgroundName : backgroundName.mid(dot + 1);
    if (extension == QLatin1String("tif") || extension == QLatin1String("TIF"))
        return TvImageFormat::Tiff;
    if (extension == QLatin1String("bmp") || extension == QLatin1String("BMP"))
        return TvImageFormat::Bmp;
    return TvImageFormat::Jpeg;
}

QImage RotateForTv(const QImage &board, int rotation)
{
    if (rotation != 1 && rotation != 2)
        return board;
    return board.transformed(QTransform().rotate(rotation == 1 ? 90 : 270));
}

QString TvImagePathForPackage(const QString &packagePath, bool whitePrint)
{
    QString path = packagePath;
    path.replace(QLatin1String("_LAYOUT.MARBIX"), QLatin1String(".MARBIX"));
    path.remove(QLatin1String("_LAYOUT_WHITE_PRINT_BGND"));
    path.replace(QLatin1String(".MARBIX"), whitePrint ? QLatin1String("_TV_WHITE_PRINT_BGND.jpg")
                                                       : QLatin1String("_TV.jpg"));
    return path;
}

QByteArray EncodeTvImage(const QImage &image, TvImageFormat format)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const char *type = format == TvImageFormat::Tiff ? "tiff" : format == TvImageFormat::Bmp ? "bmp" : "jpeg";
    QImageWriter writer(&buffer, type);
    if (format == TvImageFormat::Jpeg)
        writer.setQuality(kTvJpegQuality);
    // JPEG and BMP carry no alpha: flatten onto opaque pixels first.
    const QImage opaque = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
    if (!writer.write(opaque))
        return {};
    return bytes;
}

bool SaveTvImage(const QImage &image, const QString &path, TvImageFormat format)
{
    const QByteArray bytes = EncodeTvImage(image, format);
    return !bytes.isEmpty() && WriteFileReplacing(path, bytes);
}

} // namespace tavrin
