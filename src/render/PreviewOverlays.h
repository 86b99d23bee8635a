#pragma once

#include "render/RenderContext.h"

class QPainter;

namespace tavrin {

// What is drawn over the shown board on the screen only (never on the TV image): the vertical
// grid and the selection marquees. painter works in preview (client) pixels.

// The outline of the shown board and a light and dark line between every two columns.
void DrawVerticalGrid(QPainter &painter, const PreviewGeometry &preview, const GeometryRecords &geometry,
                      int numberOfColumns);

// A black rectangle with white dashes over it, 2 pixels inside rect; 3 pixels wide when thick,
// else 2.
void DrawMarquee(QPainter &painter, const QRectF &rect, bool thick);

// Thin marquees around the three text groups of a strip, each enlarged by 4 pixels left and
// right and 2 above and below (used while a strip is dragged).
void DrawStripTextMarquees(QPainter &painter, const GeometryRecords &geometry, int column, int row);

// The marquees of the text being edited: thick around the selected group, thin around all the
// strip's text (across the strip when a group is centred in it), and a half-transparent frame
// in the selection colour around each other group that has text.
void DrawTextSelectionMarquees(QPainter &painter, const GeometryRecords &geometry, const Strip &strip,
                               int column, int row, int selectedGroup, Colour selectionColour);

} // namespace tavrin
