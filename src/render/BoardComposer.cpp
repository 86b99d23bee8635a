#include "render/BoardComposer.h"

#include "layout/PathText.h"
#include "layout/StripOperations.h"
#include "render/BoardGeometry.h"
#include "render/PictureDrawing.h"
#include "render/StripContent.h"

#include <QPainter>

namespace tavrin {

bool IsLogoPicture(const QString &subImageFileName)
{
    const QString name = FileNamePart(subImageFileName);
    return name.contains(QLatin1String("logo")) || name.contains(QLatin1String("Logo"))
        || name.contains(QLatin1String("symbol"));
}

void DrawStripBackdrop(RenderContext &context, QPainter &painter, const Strip &strip, int column, int row,
                       const QRectF &frame)
{
    if (!IsStripInUse(strip))
        return;
    const double s = context.scale();
    QRectF r = frame.adjusted(-1, -1, 1, 1);
    r.setHeight(r.height() + 1.0 / s - 1.0);

    const QRect &area = context.preview.previewArea;
    context.geometry(column, row).stripRect =
        ToRectF32(QRectF(r.x() * s + area.x(), r.y() * s + area.y(), r.width() * s, r.height() * s));

    const bool hasPicture = !strip.Picture.SubImageFileName.isEmpty();
    if (!IsClear(strip.BackGroundColor) && !context.options.whitePrint && !hasPicture)
        painter.fillRect(r, ToQColor(strip.BackGroundColor));
    DrawPictureBorder(context, painter, strip, r);
}

void ComposeBoard(RenderContext &context, QPainter &painter)
{
    if (!(context.geometry(0, 0).cellRect.left > 0))
        return;
    const MenuLayout &layout = context.layout;
    auto frameOf = [&](int c, int r) { return FrameRect(layout, context.geometry, context.preview, c, r); };

    layout.forEachBoardStrip([&](int c, int r, const Strip &strip) {
        const QRectF frame = frameOf(c, r);
        DrawStripBackdrop(context, painter, strip, c, r, frame);
        if (!strip.Picture.SubImageFileName.isEmpty())
            DrawStripContent(context, painter, strip, c, r, frame);
    });
    layout.forEachBoardStrip([&](int c, int r, const Strip &strip) {
        if (!IsStripInUse(strip) || !strip.Picture.SubImageFileName.isEmpty())
            return;
        const QRectF frame = frameOf(c, r);
        DrawStripBackdrop(context, painter, strip, c, r, frame);
        DrawStripContent(context, painter, strip, c, r, frame);
    });
    layout.forEachBoardStrip([&](int c, int r, const Strip &strip) {
        if (!strip.Picture.SubImageFileName.isEmpty() && IsLogoPicture(strip.Picture.SubImageFileName))
            DrawStripContent(context, painter, strip, c, r, frameOf(c, r));
    });
}

} // namespace tavrin
