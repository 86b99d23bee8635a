#include "images/TvImageOutput.h"

#include "platform/SafeFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageIOPlugin>
#include <QImageWriter>
#include <QPluginLoader>
#include <QTransform>

#include <memory>
#include <optional>

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

namespace {

// Qt's image writer offers a format to every image plugin in turn, loading each with its
// libraries (WebP, TIFF, MNG and more), before the JPEG plugin takes it. The TV image goes to
// the JPEG plugin straight away instead; nullptr where that plugin cannot be found.
QImageIOPlugin *JpegPlugin()
{
    static QImageIOPlugin *const plugin = []() -> QImageIOPlugin * {
        for (const QString &folder : QCoreApplication::libraryPaths()) {
            QPluginLoader loader(folder + QStringLiteral("/imageformats/libqjpeg.so"));
            if (auto *found = qobject_cast<QImageIOPlugin *>(loader.instance()))
                return found;
        }
        return nullptr;
    }();
    return plugin;
}

// Writes the image through the JPEG plugin's handler with the options the image writer sets, so
// that the bytes are the writer's; nullopt when the plugin is not at hand.
std::optional<bool> WriteThroughJpegPlugin(const QImage &image, QIODevice &device)
{
    QImageIOPlugin *plugin = JpegPlugin();
    if (!plugin || !(plugin->capabilities(&device, "jpeg") & QImageIOPlugin::CanWrite))
        return std::nullopt;
    const std::unique_ptr<QImageIOHandler> handler(plugin->create(&device, "jpeg"));
    if (!handler)
        return std::nullopt;
    const auto set = [&](QImageIOHandler::ImageOption option, const QVariant &value) {
        if (handler->supportsOption(option))
            handler->setOption(option, value);
    };
    set(QImageIOHandler::ImageTransformation, int(QImageIOHandler::TransformationNone));
    set(QImageIOHandler::Quality, kTvJpegQuality);
    set(QImageIOHandler::CompressionRatio, -1);
    set(QImageIOHandler::Gamma, 0.0f);
    set(QImageIOHandler::OptimizedWrite, false);
    set(QImageIOHandler::ProgressiveScanWrite, false);
    return handler->write(image);
}

} // namespace

QByteArray EncodeTvImage(const QImage &image, TvImageFormat format)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // JPEG and BMP carry no alpha: flatten onto opaque pixels first.
    const QImage opaque = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
    if (format == TvImageFormat::Jpeg) {
        if (const std::optional<bool> written = WriteThroughJpegPlugin(opaque, buffer))
            return *written ? bytes : QByteArray();
    }
    const char *type = format == TvImageFormat::Tiff ? "tiff" : format == TvImageFormat::Bmp ? "bmp" : "jpeg";
    QImageWriter writer(&buffer, type);
    if (format == TvImageFormat::Jpeg)
        writer.setQuality(kTvJpegQuality);
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
