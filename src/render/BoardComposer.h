#pragma once

#include "render/RenderContext.h"

class QPainter;

namespace tavrin {

// Draws every strip of the board onto painter, whose coordinates are board pixels: pass A
// (every strip's backdrop, and the content of strips with a picture), pass B (backdrop and
// content of strips in use without a picture, over the picture strips), pass C (logo strips
// again, on top of everything). Needs a built grid: does nothing while cell (0, 0) is empty.
void ComposeBoard(RenderContext &context, QPainter &painter);

// The strip's backdrop: records its strip rectangle (preview pixels), fills its colour and draws
// its picture border. frame is the strip's frame in board pixels.
void DrawStripBackdrop(RenderContext &context, QPainter &painter, const Strip &strip, int column, int row,
                       const QRectF &frame);

// Whether a picture counts as a logo and is drawn over everything else.
bool IsLogoPicture(const QString &subImageFileName);

} // namespace tavrin
