#include "document/StripPlacement.h"

#include "layout/StripOperations.h"
#include "render/BoardGeometry.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {

bool IsTextOnly(const Strip &strip)
{
    return IsClear(strip.BackGroundColor) && strip.Picture.SubImageFileName.isEmpty()
        && strip.Picture.SubImageFrameIndex == 0;
}

// The union of the strip's drawn text groups, in preview pixels; empty when none was drawn.
QRectF TextUnion(const StripGeometry &g)
{
    QRectF united;
    for (const RectF32 &box : g.hitBoxes)
        if (box.width > 0)
            united = united.isEmpty() ? ToQRectF(box) : united.united(ToQRectF(box));
    return united;
}

void ShiftTexts(Strip &strip, double dx, double dy)
{
    for (TextGroup &group : strip.Groups) {
        if (group.Text.isEmpty())
            continue;
        group.Xref -= dx;
        group.Yref -= dy;
    }
}

void MoveStrip(MenuLayout &layout, GeometryRecords &geometry, CellPosition from, CellPosition to)
{
    layout.strip(to.column, to.row) = layout.strip(from.column, from.row);
    ResetStrip(layout.strip(from.column, from.row));
    ClearStripGeometry(geometry, from.column, from.row);
}

} // namespace

void VerticalFrameFit(MenuLayout &layout, const GeometryRecords &geometry, CellPosition cell)
{
    Strip &strip = layout.strip(cell.column, cell.row);
    const StripGeometry &g = geometry(cell.column, cell.row);
    const QRectF text = TextUnion(g);
    if (!IsTextOnly(strip) || text.isEmpty() || !(g.cellRect.height > 0))
        return;
    const double cellHeight = g.cellRect.height;
    strip.YSizeFactor = text.height() / cellHeight;
    // The frame's new top, in cell heights from the cell's top; the texts move up by as much
    // as the frame moves down, so they stay where they are.
    const double top = (text.top() - g.cellRect.top) / cellHeight;
    ShiftTexts(strip, 0.0, top - strip.YOffsetFactor);
    strip.YOffsetFactor = top;
}

CellPosition HorizontalFrameFit(MenuLayout &layout, GeometryRecords &geometry, CellPosition cell,
                                std::vector<ReplacedStrip> *replaced)
{
    Strip *strip = &layout.strip(cell.column, cell.row);
    if (!IsTextOnly(*strip))
        return cell;
    ResetEmptyGroups(*strip);
    for (const TextGroup &group : strip->Groups)
        if (group.CenterInStrip)
            return cell;
    QRectF text = TextUnion(geometry(cell.column, cell.row));
    const RectF32 *c = &geometry(cell.column, cell.row).cellRect;
    if (text.isEmpty() || !(c->width > 0))
        return cell;

    const bool pricesOnly = strip->mainItem().Text.isEmpty() && strip->subItems().Text.isEmpty();
    if (pricesOnly) {
        // Prices pushed a whole cell or more to the right belong to the next column, as long as
        // that column's strip is free; they are never put over a strip in use.
        while (text.left() >= c->left + c->width && cell.column + 1 < layout.boardColumns()
               && !IsStripInUse(layout.strip(cell.column + 1, cell.row))) {
            const CellPosition next{cell.column + 1, cell.row};
            const double sourceOffset = strip->XOffsetFactor;
            if (replaced)
                replaced->push_back({next, layout.strip(next.column, next.row)});
            MoveStrip(layout, geometry, cell, next);
            cell = next;
            strip = &layout.strip(cell.column, cell.row);
            strip->XOffsetFactor = 0.0;
            strip->XSizeFactor -= 1.0;
            strip->prices().Xref -= 1.0 - sourceOffset;
            c = &geometry(cell.column, cell.row).cellRect;
            if (!(c->width > 0))
                return cell;
        }
        text.setLeft(c->left);
    }
    strip->XSizeFactor = text.width() / c->width + 0.05;
    const double left = (text.left() - c->left) / c->width;
    ShiftTexts(*strip, left - strip->XOffsetFactor, 0.0);
    strip->XOffsetFactor = left;
    return cell;
}

CellPosition RelocateStrip(MenuLayout &layout, GeometryRecords &geometry, CellPosition cell,
                           std::vector<ReplacedStrip> *replaced)
{
    const int columns = layout.boardColumns(), rows = layout.boardRows();
    const int c = cell.column, r = cell.row;
    const auto inUse = [&](int column, int row) { return IsStripInUse(layout.strip(column, row)); };
    // The new offsets are worked out on the side: when no free cell is found, nothing changes.
    double xOffset = layout.strip(c, r).XOffsetFactor;
    double yOffset = layout.strip(c, r).YOffsetFactor;
    const auto moveTo = [&](CellPosition target) {
        // Content is only ever put into a free cell; the source itself is never a target.
        if (target == cell || inUse(target.column, target.row))
            return cell;
        if (replaced)
            replaced->push_back({target, layout.strip(target.column, target.row)});
        layout.strip(c, r).XOffsetFactor = xOffset;
        layout.strip(c, r).YOffsetFactor = yOffset;
        MoveStrip(layout, geometry, cell, target);
        return target;
    };

    // Down or up by whole rows, to the first free row from there. Searching downwards from a row
    // above ends at the strip's own row: it stays where it is.
    if (std::isfinite(yOffset) && std::abs(yOffset) >= 1.0) {
        const double n = std::trunc(yOffset);
        if (r + n < 0 || r + n >= rows)
            return cell;
        int target = r + int(n);
        while (inUse(c, target)) {
            if (++target >= rows || target == r)
                return cell;
        }
        yOffset -= target - r;
        return moveTo({c, target});
    }

    // Sideways by whole columns: the offset comes into (-0.998, 0.998).
    if (!std::isfinite(xOffset))
        return cell;
    int k = 0;
    if (std::abs(xOffset) >= 0.998) {
        // The fewest whole cells that bring the offset inside the open range.
        const double whole = std::floor(std::abs(xOffset) - 0.998) + 1.0;
        if (whole > columns + 1)
            return cell; // far beyond the grid: nothing can move there
        k = xOffset > 0 ? int(whole) : -int(whole);
        xOffset -= k;
    }
    int j = c + k;
    if (k != 0 && (j < 0 || j >= columns))
        return cell;
    // Past strips in use, further in the direction of the move, keeping the drawn position.
    if (k > 0) {
        while (inUse(j, r)) {
            if (j + 1 >= columns)
                return cell;
            ++j;
            xOffset -= 1.0;
        }
    } else if (k < 0) {
        while (inUse(j, r)) {
            if (j == 0)
                return cell;
            --j;
            xOffset += 1.0;
        }
    }
    int targetRow = r;
    while (xOffset < 0 && j > 0) {
        xOffset += 1.0;
        --j;
        while (inUse(j, targetRow) && !(j == c && targetRow == r)) {
            if (targetRow + 1 >= rows)
                return cell;
            ++targetRow;
            yOffset -= 1.0;
        }
    }
    if (j == c && targetRow == r)
        return cell;
    return moveTo({j, targetRow});
}

void NormaliseOpenedStrips(MenuLayout &layout, GeometryRecords &geometry)
{
    CellPosition previousTarget{0, 0};
    const int columns = layout.boardColumns(), rows = layout.boardRows();
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            Strip &strip = layout.strip(c, r);
            if (!IsStripInUse(strip))
                continue;
            const CellPosition cell{c, r};
            const bool leftOfBoard = strip.XOffsetFactor < -c;
            const bool aboveBoard = strip.YOffsetFactor < -r;
            if ((leftOfBoard || aboveBoard) && StripHasText(strip)) {
                if (leftOfBoard) {
                    for (TextGroup &group : strip.Groups)
                        if (!group.Text.isEmpty())
                            group.Xref += strip.XOffsetFactor;
                    strip.XOffsetFactor = 0.0;
                    HorizontalFrameFit(layout, geometry, cell);
                }
                if (aboveBoard) {
                    for (TextGroup &group : strip.Groups)
                        if (!group.Text.isEmpty())
                            group.Yref += strip.YOffsetFactor;
                    strip.YOffsetFactor = 0.0;
                    VerticalFrameFit(layout, geometry, cell);
                }
                RelocateStrip(layout, geometry, cell);
            }
            const Strip &now = layout.strip(c, r);
            if (IsClear(now.BackGroundColor) && now.Picture.SubImageFileName.isEmpty()) {
                VerticalFrameFit(layout, geometry, previousTarget);
                HorizontalFrameFit(layout, geometry, previousTarget);
                RectF32 boxes[kGroupCount];
                std::copy(std::begin(geometry(c, r).hitBoxes), std::end(geometry(c, r).hitBoxes), boxes);
                const CellPosition result = RelocateStrip(layout, geometry, cell);
                previousTarget = result;
                if (!(result == cell))
                    std::copy(std::begin(boxes), std::end(boxes), geometry(result.column, result.row).hitBoxes);
            } else {
                RelocateStrip(layout, geometry, cell);
            }
        }
    }
}

} // namespace tavrin
