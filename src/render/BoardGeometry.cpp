#include "render/BoardGeometry.h"

namespace tavrin {

QRect PreviewRegion(QSize clientSize, std::optional<QRect> anchor)
{
    if (!anchor)
        return QRect(QPoint(0, 0), clientSize);
    const int left = anchor->x();
    const int top = anchor->y() + anchor->height() + 24;
    const int right = clientSize.width();
    const int bottom = clientSize.height() - 20;
    return QRect(left, top, right - left, bottom - top);
}

QRect BoardScaleRegion() { return QRect(0, 0, 1 << 20, 1 << 20); }

QRect FitPreviewArea(const QRect &region, int boardWidth, int boardHeight)
{
    const int aw = region.width(), ah = region.height();
    if (boardWidth <= 0 || boardHeight <= 0)
        return QRect(region.x(), region.y(), 0, 0);
    if (boardWidth < aw && boardHeight < ah)
        return QRect(region.x(), region.y(), boardWidth, boardHeight);
    const double e = double(boardHeight) / boardWidth;
    if (aw > 0 && e > double(ah) / aw) {
        // Limited by the height: full height, left-aligned.
        return QRect(region.x(), region.y(), int(ah / e), ah);
    }
    // Limited by the width: full width, centred vertically.
    const int d = (ah - int(aw * e)) / 2;
    return QRect(region.x(), region.y() + d, aw, ah - 2 * d);
}

int RebuildGrid(const MenuLayout &layout, const PreviewGeometry &preview, GeometryRecords &geometry)
{
    const int columns = layout.boardColumns(), rows = layout.boardRows();
    for (auto &column : geometry.at)
        for (StripGeometry &g : column)
            g.cellRect = RectF32{};
    if (columns == 0 || rows == 0)
        return 0;
    const double cellWidth = double(preview.previewArea.width()) / layout.NumberOfColumns;
    const double cellHeight = double(preview.previewArea.height()) / layout.NumberOfRows;
    int count = 0;
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            RectF32 &cell = geometry(c, r).cellRect;
            const RectF32 *left = c > 0 ? &geometry(c - 1, r).cellRect : nullptr;
            const RectF32 *above = r > 0 ? &geometry(c, r - 1).cellRect : nullptr;
            cell.left = left ? left->left + left->width : float(preview.previewArea.x() + 1);
            cell.top = above ? above->top + above->height : float(preview.previewArea.y() + 1);
            cell.width = float(cellWidth);
            cell.height = float(cellHeight);
            ++count;
        }
    }
    return count;
}

QRectF FrameRect(const MenuLayout &layout, const GeometryRecords &geometry, const PreviewGeometry &preview,
                 int column, int row)
{
    const Strip &strip = layout.strip(column, row);
    const RectF32 &cell = geometry(column, row).cellRect;
    const double cw = cell.width, ch = cell.height, s = preview.previewScale;
    if (s <= 0)
        return {};
    return QRectF((column * cw + cw * strip.XOffsetFactor) / s, (row * ch + ch * strip.YOffsetFactor) / s,
                  cw * strip.XSizeFactor / s, ch * strip.YSizeFactor / s);
}

QRectF FrameRectOnPreview(const MenuLayout &layout, const GeometryRecords &geometry, int column, int row)
{
    const Strip &strip = layout.strip(column, row);
    const RectF32 &cell = geometry(column, row).cellRect;
    return QRectF(cell.left + cell.width * strip.XOffsetFactor, cell.top + cell.height * strip.YOffsetFactor,
                  cell.width * strip.XSizeFactor, cell.height * strip.YSizeFactor);
}

} // namespace tavrin
