#pragma once

#include "document/StripPlacement.h"

#include <QPointF>
#include <QRectF>

#include <optional>

namespace tavrin {

// What lies under a point of the preview, judged on the geometry of the last refresh. Only
// strips of the board take part.

struct TextHit {
    CellPosition cell;
    int group = 0; // 0 main item, 1 sub-items, 2 prices
};

// Whether point lies in rect: left and top edges included, right and bottom excluded.
bool RectHolds(const QRectF &rect, const QPointF &point);

// The first text-group hit box holding the point: prices first, then sub-items, then the main
// item; within a group columns and rows from the last to the first.
std::optional<TextHit> TextHitTest(const MenuLayout &layout, const GeometryRecords &geometry, QPointF point);

// Strips with a picture whose strip rectangle holds the point, scanned from the last column and
// row backwards. When several overlap, the second one found wins.
std::optional<CellPosition> PictureHitTest(const MenuLayout &layout, const GeometryRecords &geometry,
                                           QPointF point);

// Strips with a background colour whose frame holds the point; same order and rule as pictures.
std::optional<CellPosition> FrameHitTest(const MenuLayout &layout, const GeometryRecords &geometry, QPointF point);

// Whether a click picks this picture before any text: its file-name part holds "logo" or
// "symbol" (case-sensitive).
bool PicksLogoFirst(const QString &pictureFileName);

} // namespace tavrin
