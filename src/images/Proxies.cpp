#include "images/Proxies.h"

#include "images/ImageDecoding.h"
#include "images/ImageImport.h"
#include "layout/MenuLayout.h"
#include "platform/Prompter.h"

#include <QFileInfo>

namespace tavrin {

namespace {

bool NeedsReduction(const QImage &image)
{
    return image.width() > kProxyLimit || image.height() > kProxyLimit;
}

int Clamped(double value)
{
    // Cut towards zero first, then keep within a byte.
    const int whole = int(qBound(-1.0e6, value, 1.0e6));
    return qBound(0, whole, 255);
}

} // namespace

QString BackgroundCopyPath(const QString &workingFolder) { return workingFolder + QStringLiteral("/Background.jpg"); }

QString BackgroundProxyPath(const QString &workingFolder)
{
    return workingFolder + QStringLiteral("/Background_Proxy.jpg");
}

QString PictureProxyPath(const QString &picturePath)
{
    static const struct {
        const char *extension;
        const char *proxySuffix;
    } kRules[] = {
        {".jpg", "_Proxy.jpg"}, {".JPG", "_Proxy.jpg"}, {".png", "_Proxy.png"}, {".gif", "_Proxy.gif"},
    };
    for (const auto &rule : kRules) {
        const QLatin1StringView extension(rule.extension);
        const qsizetype at = picturePath.lastIndexOf(extension);
        if (at < 0)
            continue;
        QString proxy = picturePath;
        proxy.replace(at, extension.size(), QLatin1StringView(rule.proxySuffix));
        return proxy;
    }
    return {};
}

void ChangeBrightness(QImage &image, int brightness)
{
    if (brightness == 0 || image.isNull())
        return;
    if (image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_ARGB32);
    const double factor = 1.0 + brightness / 255.0;
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            if (qAlpha(pixel) == 0)
                continue;
            line[x] = qRgba(Clamped(qRed(pixel) * factor), Clamped(qGreen(pixel) * factor),
                            Clamped(qBlue(pixel) * factor), 255);
        }
    }
}

ProxyOutcome MakePictureProxy(const QString &picturePath, int brightness, Prompter &prompter)
{
    const QString proxyPath = PictureProxyPath(picturePath);
    if (proxyPath.isEmpty())
        return ProxyOutcome::Copied;
    if (PictureKindOf(picturePath) == PictureKind::Gif) {
        CopyFileWithoutReplacing(picturePath, proxyPath);
        return ProxyOutcome::Copied;
    }
    const DecodedImage decoded = DecodeImageFileCached(picturePath);
    if (!NeedsReduction(decoded.image)) {
        // Small pictures are drawn quickly as they are: the proxy is an exact copy, without the
        // brightness change.
        CopyFileWithoutReplacing(picturePath, proxyPath);
        return ProxyOutcome::Copied;
    }
    QImage reduced = ReducedCopy(decoded.image, kProxyLimit);
    ChangeBrightness(reduced, brightness);
    const PictureKind kind = PictureKindOf(picturePath) == PictureKind::Png ? PictureKind::Png : PictureKind::Jpeg;
    if (!WritePictureFile(reduced, proxyPath, kind, kPictureJpegQuality)) {
        prompter.showMessage(kProxySaveFailedMessage);
        return ProxyOutcome::Failed;
    }
    return ProxyOutcome::Reduced;
}

bool MakeAllPictureProxies(const MenuLayout &layout, bool fromPackage, Prompter &prompter)
{
    if (!fromPackage)
        return false;
    bool result = false;
    layout.forEachBoardStrip([&](int, int, const Strip &strip) {
        const StripPicture &picture = strip.Picture;
        const QString &name = picture.SubImageFileName;
        if (name.isEmpty())
            return;
        if (!name.contains(QLatin1StringView(".jpg")) && !name.contains(QLatin1StringView(".JPG"))
            && !name.contains(QLatin1StringView(".png")) && !name.contains(QLatin1StringView(".gif")))
            return;
        switch (MakePictureProxy(name, picture.SubImageBrightnessFactor, prompter)) {
        case ProxyOutcome::Reduced: result = true; break;
        case ProxyOutcome::Failed: result = false; break;
        case ProxyOutcome::Copied: break;
        }
    });
    return result;
}

bool MakeBackgroundProxy(const QString &workingFolder, bool fromPackage, Prompter &prompter)
{
    if (!fromPackage)
        return false;
    const DecodedImage decoded = DecodeImageFileCached(BackgroundCopyPath(workingFolder));
    if (!NeedsReduction(decoded.image))
        return false;
    const QImage reduced = ReducedCopy(decoded.image, kProxyLimit);
    if (!WritePictureFile(reduced, BackgroundProxyPath(workingFolder), PictureKind::Jpeg, kPictureJpegQuality)) {
        prompter.showMessage(kBackgroundProxySaveFailedMessage);
        return false;
    }
    return true;
}

bool RebuildStripProxy(const StripPicture &picture, Prompter &prompter)
{
    const QString &name = picture.SubImageFileName;
    const QString proxyPath = PictureProxyPath(name);
    if (proxyPath.isEmpty())
        return false;
    const DecodedImage decoded = DecodeImageFile(name);
    if (decoded.isNull())
        return false;
    QImage proxy = NeedsReduction(decoded.image) ? ReducedCopy(decoded.image, kProxyLimit) : decoded.image;
    ChangeBrightness(proxy, picture.SubImageBrightnessFactor);
    if (!WritePictureFile(proxy, proxyPath, PictureKindOf(name), kRebuiltProxyJpegQuality)) {
        prompter.showMessage(kProxySaveFailedMessage);
        return false;
    }
    return true;
}

} // namespace tavrin
