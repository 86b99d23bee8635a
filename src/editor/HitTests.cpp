#include "editor/HitTests.h"

#include "render/BoardGeometry.h"

namespace tavrin {

namespace {

// Scans the board's strips from the last column and row backwards and returns the second strip
// whose rectangle holds the point, or the only one when just one does.
template <typename Candidate, typename RectOf>
std::optional<CellPosition> SecondFound(const MenuLayout &layout, QPointF point, Candidate candidate, RectOf rectOf)
{
    std::optional<CellPosition> found;
    for (int c = layout.boardColumns() - 1; c >= 0; --c) {
        for (int r = layout.boardRows() - 1; r >= 0; --r) {
            if (!candidate(layout.strip(c, r)) || !RectHolds(rectOf(c, r), point))
                continue;
            if (found)
                return CellPosition{c, r};
            found = CellPosition{c, r};
        }
    }
    return found;
}

} // namespace

bool RectHolds(const QRectF &rect, const QPointF &point)
{
    return point.x() >= rect.x() && point.x() < rect.x() + rect.width() && point.y() >= rect.y()
        && point.y() < rect.y() + rect.height();
}

std::optional<TextHit> TextHitTest(const MenuLayout &layout, const GeometryRecords &geometry, QPointF point)
{
    for (int group = PricesGroup; group >= MainItemGroup; --group)
        for (int c = layout.boardColumns() - 1; c >= 0; --c)
            for (int r = layout.boardRows() - 1; r >= 0; --r)
                if (RectHolds(ToQRectF(geometry(c, r).hitBoxes[group]), point))
                    return TextHit{{c, r}, group};
    return std::nullopt;
}

std::optional<CellPosition> PictureHitTest(const MenuLayout &layout, const GeometryRecords &geometry,
                                           QPointF point)
{
    return SecondFound(
        layout, point, [](const Strip &strip) { return !strip.Picture.SubImageFileName.isEmpty(); },
        [&](int c, int r) { return ToQRectF(geometry(c, r).stripRect); });
}

std::optional<CellPosition> FrameHitTest(const MenuLayout &layout, const GeometryRecords &geometry, QPointF point)
{
    return SecondFound(
        layout, point, [](const Strip &strip) { return !IsClear(strip.BackGroundColor); },
        [&](int c, int r) { return FrameRectOnPreview(layout, geometry, c, r); });
}

bool PicksLogoFirst(const QString &pictureFileName)
{
    // Stored paths may come from Windows: the name starts after the last "\" or "/".
    const int cut = std::max(pictureFileName.lastIndexOf(QLatin1Char('\\')),
                             pictureFileName.lastIndexOf(QLatin1Char('/')));
    const QString name = pictureFileName.mid(cut + 1);
    return name.contains(QLatin1String("logo")) || name.contains(QLatin1String("symbol"));
}

} // namespace tavrin
