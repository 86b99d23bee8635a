#include "render/BoardRenderer.h"

#include "images/ImageDecoding.h"
#include "render/BoardComposer.h"
#include "render/BoardGeometry.h"

#include <QFileInfo>
#include <QPainter>

namespace tavrin {

namespace {

QImage DecodeImage(const QString &path) { return DecodeImageFileCached(path).image; }

int ResolutionOf(const QImage &image) { return VerticalDotsPerInch(image); }

QString ExtensionOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.mid(dot + 1);
}

} // namespace

QImage BoardRenderer::decodeBackground(bool allowProxy)
{
    if (allowProxy && sources.backgroundProxy) {
        const QString proxy = sources.workingFolder + QStringLiteral("/Background_Proxy.jpg");
        if (QFileInfo::exists(proxy))
            return DecodeImage(proxy);
    }
    return DecodeImage(sources.backgroundImagePath);
}

void BoardRenderer::updateGeometry(const QRect &previewRegion, int width, int height, int resolution)
{
    preview_.boardWidth = width;
    preview_.boardHeight = height;
    preview_.boardResolution = resolution;
    preview_.previewArea = FitPreviewArea(previewRegion, width, height);
    preview_.previewScale = width > 0 ? double(preview_.previewArea.width()) / width : 1.0;
}

bool BoardRenderer::refresh(const QRect &previewRegion, bool erase, bool geometryOnly)
{
    eraseRequested_ = false;
    if (sources.backgroundName.isEmpty())
        return true;
    backgroundExtension_ = ExtensionOf(sources.backgroundName);

    if (erase && eraseOnce) {
        eraseRequested_ = true;
        eraseOnce = false;
    }
    if (backgroundReadingPending) {
        const QImage full = DecodeImage(sources.backgroundImagePath);
        if (full.width() > 0)
            backgroundReading_ = BackgroundReading{full.size(), ResolutionOf(full)};
        backgroundReadingPending = false;
    }

    QImage board = decodeBackground(/*allowProxy=*/true);
    updateGeometry(previewRegion, board.width(), board.height(), ResolutionOf(board));
    if (geometryOnly)
        return true;
    if (board.isNull()) {
        // Nothing of an earlier board may stay on show for a background that cannot be drawn.
        shownBoard_ = QImage();
        return false;
    }

    if (board.format() != QImage::Format_RGB32 && board.format() != QImage::Format_ARGB32_Premultiplied)
        board.convertTo(board.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (options.whitePrint)
        board.fill(Qt::white);
    // A gathering render lists exactly the fonts it draws.
    if (options.fontGathering && fontList)
        fontList->clear();
    compose(board, options);

    shownBoard_ = std::move(board);
    preview_.previewDestination = QRectF(preview_.previewArea);
    RebuildGrid(layout_, preview_, geometry_);
    return true;
}

bool BoardRenderer::layOutAtBoardScale()
{
    if (sources.backgroundName.isEmpty())
        return false;
    // Only the background's size and resolution matter here, and its header tells them.
    const std::optional<ImageDescription> background = DescribeImageFile(sources.backgroundImagePath);
    if (!background)
        return false;
    updateGeometry(BoardScaleRegion(), background->size.width(), background->size.height(), background->dpiY);
    RebuildGrid(layout_, preview_, geometry_);
    if (options.fontGathering && fontList)
        fontList->clear();
    // The texts' places come from measuring, not from the pixels: the strips are composed onto
    // a scratch pixel, which spares painting a whole board that nobody sees, and the pictures
    // are left out.
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    RenderOptions measuring = options;
    measuring.measuringOnly = true;
    if (substitutions)
        substitutions->clear();
    compose(scratch, measuring, true);
    return true;
}

void BoardRenderer::compose(QImage &image, const RenderOptions &renderOptions, bool noting)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    RenderContext context{layout_, geometry_, preview_, renderOptions, sources.workingFolder, fontList,
                          &probes, noting ? substitutions : nullptr};
    ComposeBoard(context, painter);
}

QImage BoardRenderer::renderForOutput(const QRect &previewRegion, bool whitePrint)
{
    if (sources.backgroundName.isEmpty())
        return {};
    QImage board = DecodeImageFileToPaintOn(sources.backgroundImagePath).image;
    if (board.isNull())
        return {};
    // The geometry of the full-resolution board: cells, scale and hit boxes follow it.
    updateGeometry(previewRegion, board.width(), board.height(), ResolutionOf(board));
    RebuildGrid(layout_, preview_, geometry_);

    board.convertTo(QImage::Format_RGB32);
    if (whitePrint)
        board.fill(Qt::white);
    RenderOptions output = options;
    output.whitePrint = whitePrint;
    output.outputRendering = true;
    output.pictureProxies = false;
    // The output render before a save lists exactly the fonts of the texts it draws.
    if (fontList)
        fontList->clear();
    if (substitutions)
        substitutions->clear();
    compose(board, output, true);
    return board;
}

} // namespace tavrin
