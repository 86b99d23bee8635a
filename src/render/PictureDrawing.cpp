#include "render/PictureDrawing.h"

#include "images/Proxies.h"

#include "images/ImageDecoding.h"

#include <QFileInfo>
#include <QPainter>
#include <QPen>

#include <optional>

namespace tavrin {

namespace {

// Crop values in this range select a part of the picture; 0 and 100 (a newly assigned picture
// has 100 x 100) show all of it.
bool SelectsPart(int percentage)
{
    return percentage >= 1 && percentage <= 99;
}

// The part of a picture of the given size that the strip's crop values select, or nullopt when
// the whole picture is to be drawn (no crop, or a crop area that is empty or leaves the picture).
std::optional<QRect> CropArea(const StripPicture &picture, const QSize &size)
{
    if (!SelectsPart(picture.SubImageCropPercentageX) && !SelectsPart(picture.SubImageCropPercentageY))
        return std::nullopt;
    const float w = float(size.width());
    const float h = float(size.height());
    const float x = float(picture.SubImageCropOriginPercentageX) / 100.0f * w;
    const float y = float(picture.SubImageCropOriginPercentageY) / 100.0f * h;
    const float cw = float(picture.SubImageCropPercentageX) / 100.0f * w;
    const float ch = float(picture.SubImageCropPercentageY) / 100.0f * h;
    // Whole pixels, rounding the edges rather than the origin and the size: a crop of 50 % from
    // 50 % of a picture 201 pixels wide ends exactly at its right edge, where rounding 100.5 and
    // 100.5 separately would reach one pixel past it.
    const int left = qRound(x);
    const int top = qRound(y);
    const QRect area(left, top, qRound(x + cw) - left, qRound(y + ch) - top);
    if (area.isEmpty() || !QRect(QPoint(0, 0), size).contains(area))
        return std::nullopt;
    return area;
}

// The pen of a border style; index 1 to 9 from the style table, above 9 a black hairline.
QPen StylePen(int index, double base)
{
    static const QColor kColours[] = {Qt::black, Qt::white, QColor(128, 128, 128)};
    static const double kWidthFactors[] = {1.0, 1.5, 2.25};
    if (index > 9)
        return QPen(QBrush(Qt::black), 0.0); // width 0: Qt's one-pixel cosmetic line
    return QPen(QBrush(kColours[(index - 1) / 3]), base * kWidthFactors[(index - 1) % 3]);
}

} // namespace

QString PictureFileToDraw(const QString &subImageFileName, bool useProxies)
{
    if (!useProxies)
        return subImageFileName;
    const QString proxy = PictureProxyPath(subImageFileName);
    return !proxy.isEmpty() && QFileInfo(proxy).isFile() ? proxy : subImageFileName;
}

void DrawStripPicture(const RenderContext &context, QPainter &painter, const Strip &strip, const QRectF &frame)
{
    const StripPicture &picture = strip.Picture;
    const bool hidden = context.options.whitePrint && picture.ImageHiddenOnWhite != 0;
    if (!hidden && !context.options.measuringOnly && !picture.SubImageFileName.isEmpty()) {
        const QString file = PictureFileToDraw(picture.SubImageFileName, context.options.pictureProxies);
        QImage image = DecodeImageFileCached(file).image;
        if (!image.isNull()) {
            // A copy of the selected part rather than a source rectangle, so that the smooth
            // scaling never blends in pixels from outside the crop at its edges.
            if (const std::optional<QRect> area = CropArea(picture, image.size()))
                image = image.copy(*area);
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.drawImage(frame, image);
            painter.restore();
        }
    }
    DrawPictureBorder(context, painter, strip, frame);
}

namespace {

// The pen of the strip's picture border; nothing without a border (or none in white print).
std::optional<QPen> BorderPen(const Strip &strip, int boardWidth, int boardHeight, bool whitePrint)
{
    const StripPicture &picture = strip.Picture;
    const int index = picture.SubImageFrameIndex;
    const bool hiddenOnWhite = picture.ImageHiddenOnWhite != 0;
    if (index <= 0 || (whitePrint && hiddenOnWhite))
        return std::nullopt;
    const double sides = double(boardWidth) + double(boardHeight);
    const double base = sides * 0.0016;
    QPen pen;
    if (hiddenOnWhite)
        pen = QPen(QBrush(QColor(128, 128, 128)), base * 0.5);
    else if (whitePrint)
        pen = QPen(QBrush(Qt::black), sides * 0.001);
    else
        pen = StylePen(index, base);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

} // namespace

double PictureBorderReach(const Strip &strip, int boardWidth, int boardHeight, bool whitePrint)
{
    const std::optional<QPen> pen = BorderPen(strip, boardWidth, boardHeight, whitePrint);
    return pen ? std::max(pen->widthF(), 1.0) / 2.0 : 0.0;
}

bool DrawPictureBorder(const RenderContext &context, QPainter &painter, const Strip &strip, const QRectF &rect)
{
    const StripPicture &picture = strip.Picture;
    if (picture.SubImageFrameIndex <= 0)
        return false;
    const std::optional<QPen> pen = BorderPen(strip, context.boardWidth(), context.boardHeight(),
                                              context.options.whitePrint);
    if (!pen)
        return true; // the picture is left out of the white-print board, and so is its border

    painter.save();
    // Antialiased, the pen lies centred on the outline with its fractional width; square joins
    // keep the corners filled.
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setPen(*pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
    painter.restore();
    return true;
}

} // namespace tavrin
