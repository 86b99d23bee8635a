#pragma once

#include "render/RenderContext.h"

class QPainter;

namespace tavrin {

// Draws a strip's three text groups (and, before the first one, its picture) onto the board,
// recording the groups' hit boxes and the price-tab width in context.geometry. frame is the
// strip's frame in board pixels. Nothing is drawn for a strip that is not in use.
void DrawStripContent(RenderContext &context, QPainter &painter, const Strip &strip, int column, int row,
                      const QRectF &frame);

} // namespace tavrin
