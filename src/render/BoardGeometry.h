#pragma once

#include "render/RenderContext.h"

#include <QSize>

#include <optional>

namespace tavrin {

// Rectangles here are integer (left, top, width, height) unless they are QRectF.

// Where the board may be shown: below the anchor control (the main item box) with a margin of
// 24 pixels, reaching to the client area's right edge and 20 pixels above its bottom; the whole
// client area when there is no anchor.
QRect PreviewRegion(QSize clientSize, std::optional<QRect> anchor);

// A region larger than any board: a board laid out in it has one preview pixel per board pixel.
// The files written (the TV image, the print image) and the pass over an opened layout are laid
// out in it, so that they never depend on the size of the window.
QRect BoardScaleRegion();

// The part of region the board of boardWidth x boardHeight pixels is shown in: one preview pixel
// per board pixel when the board fits; else scaled down to the region's height (left-aligned)
// or to its width (centred vertically).
QRect FitPreviewArea(const QRect &region, int boardWidth, int boardHeight);

// Recomputes every cell rectangle (preview pixels) from the preview area and the grid size:
// cells of the board are laid edge to edge from one pixel inside the area's top-left corner;
// all others become empty. Returns the number of cells set.
int RebuildGrid(const MenuLayout &layout, const PreviewGeometry &preview, GeometryRecords &geometry);

// The strip's frame in board pixels, from its cell and its offset and size factors.
QRectF FrameRect(const MenuLayout &layout, const GeometryRecords &geometry, const PreviewGeometry &preview,
                 int column, int row);
// The strip's frame in preview pixels.
QRectF FrameRectOnPreview(const MenuLayout &layout, const GeometryRecords &geometry, int column, int row);

inline QRectF ToQRectF(const RectF32 &r) { return QRectF(r.left, r.top, r.width, r.height); }
inline RectF32 ToRectF32(const QRectF &r) { return {float(r.x()), float(r.y()), float(r.width()), float(r.height())}; }

} // namespace tavrin
